// The acquire plug-in interface: what a plug-in is given and what it answers.
//
// A plug-in is a shared object in the plug-in folder whose file name holds
// ".8B" (any case), for example "sample.8bs.so". It exports one C function,
// "ENTRYPOINT" (or, when that is missing, "ENTRYPOINT1"), of type
// `PointEntreePlugIn`. The host calls it with a selector, the address of a
// parameter record, a data word the plug-in may keep its own state in, and a
// result word it must set (0 success, anything else stops the acquisition).
//
// An acquisition calls the selectors in the order prepare (4), start (1),
// continue (2) as long as the result is 0 and `data` is not null after the
// call, then finish (3). On start the plug-in fills `imageMode`,
// `imageSize` (rows then columns), `depth` (1 or 8), `planes` (must be 1) and
// `imageHRes` (16.16 fixed point, dots per inch). On each continue it points
// `data` at the rows of `theRect` (top, left, bottom, right; bottom and right
// exclusive, left a multiple of 8 for 1-bit images), `rowBytes` apart, in any
// order over the calls; it owns that memory, which must stay valid until its
// next call. Rows are top first. At depth 1 a set bit is white; at depth 8
// the value is the gray level (0 black, 255 white). Setting `data` to null
// ends the image. The about selector (0) gets an `AboutRecord`.
//
// The host zero-fills the record, then sets `maxData` (free memory, capped to
// 31 bits), `platformData`, `abortProc` (non-zero when the user cancelled),
// `progressProc`, and the two fields `hostField3` and `hostFieldMinus1`.
//
// The layout is fixed byte for byte (x86-64 and other LP64 systems): a
// plug-in built against this header works with any Ruzo of the same layout.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    kSelecteurAPropos = 0,  // about box
    kSelecteurDebut = 1,    // start: image description
    kSelecteurSuite = 2,    // continue: one block of rows
    kSelecteurFin = 3,      // finish
    kSelecteurPrepare = 4,  // prepare
};

// An image of more than one plane; also what the host's BMP step answers.
#define kErreurFormatAcquisition (-11005)

typedef struct RectPlugIn {
    int16_t top, left, bottom, right;
} RectPlugIn;

typedef struct PointPlugIn {
    int16_t v, h;
} PointPlugIn;

// What `platformData` points to: the host's main window (an X11 window id,
// 0 without a window).
typedef struct PlatformData {
    intptr_t hwnd;
} PlatformData;

typedef int16_t (*TestAbortProc)(void);
typedef void (*ProgressProc)(int32_t done, int32_t total);

#pragma pack(push, 4)
typedef struct AcquireRecord {
    int32_t serialNumber;        // 0
    int32_t reserved0;           // 4
    TestAbortProc abortProc;     // 8
    ProgressProc progressProc;   // 16
    int32_t maxData;             // 24
    int16_t imageMode;           // 28
    PointPlugIn imageSize;       // 30: rows, columns
    int16_t depth;               // 34: bits per sample
    int16_t planes;              // 36: samples per pixel
    int16_t reserved1;           // 38
    int32_t imageHRes;           // 40: 16.16 fixed point
    int32_t imageVRes;           // 44
    uint8_t redLUT[256];         // 48
    uint8_t greenLUT[256];       // 304
    uint8_t blueLUT[256];        // 560
    void* data;                  // 816
    RectPlugIn theRect;          // 824
    int32_t loPlane;             // 832
    int32_t hiPlane;             // 836
    int32_t colBytes;            // 840
    int32_t rowBytes;            // 844
    int32_t planeBytes;          // 848
    uint8_t filename[256];       // 852
    int16_t vRefNum;             // 1108
    uint8_t dirty;               // 1110
    uint8_t reserved2;           // 1111
    RectPlugIn selectBBox;       // 1112
    uint32_t hostSig;            // 1120
    int32_t reserved3;           // 1124
    void* hostProc;              // 1128
    int16_t hostModes;           // 1136
    uint8_t planeMap[16];        // 1138
    uint8_t canTranspose;        // 1154
    uint8_t needTranspose;       // 1155
    int32_t reserved4;           // 1156
    void* handleProcs;           // 1160
    PlatformData* platformData;  // 1168
    int32_t hostField3;          // 1176: set to 3 by the host
    int32_t hostFieldMinus1;     // 1180: set to -1 by the host
    uint8_t reserved[268];       // 1184
} AcquireRecord;

typedef struct AboutRecord {
    PlatformData* platformData;  // 0
    uint8_t reserved[248];       // 8
} AboutRecord;
#pragma pack(pop)

// `record` is an AcquireRecord*, or an AboutRecord* for the about selector.
typedef void (*PointEntreePlugIn)(int16_t selector, void* record, intptr_t* data, int16_t* result);

#ifdef __cplusplus
}

static_assert(sizeof(void*) == 8, "the record layout is the one of LP64 systems");
static_assert(sizeof(AcquireRecord) == 1452);
static_assert(offsetof(AcquireRecord, maxData) == 24);
static_assert(offsetof(AcquireRecord, imageSize) == 30);
static_assert(offsetof(AcquireRecord, depth) == 34 && offsetof(AcquireRecord, planes) == 36);
static_assert(offsetof(AcquireRecord, imageHRes) == 40);
static_assert(offsetof(AcquireRecord, data) == 816 && offsetof(AcquireRecord, theRect) == 824);
static_assert(offsetof(AcquireRecord, rowBytes) == 844);
static_assert(offsetof(AcquireRecord, platformData) == 1168);
static_assert(offsetof(AcquireRecord, hostField3) == 1176);
static_assert(offsetof(AcquireRecord, reserved) == 1184);
static_assert(sizeof(AboutRecord) == 256);
#endif
