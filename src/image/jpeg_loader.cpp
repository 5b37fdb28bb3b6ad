#include "image/jpeg_loader.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <new>
#include <vector>

#include "image/colour_conversion.h"
#include "image/page_rows.h"
#include "toolbox/messages.h"

namespace {

// The library's working memory for one page: beyond this a (hostile)
// progressive file claiming a huge size is refused instead of swallowing the
// machine's memory.
constexpr long kMemoireDecodeur = 512L * 1024 * 1024;

struct GestionErreurs {
    jpeg_error_mgr standard;
    std::jmp_buf retour;
};

void SortieErreur(j_common_ptr cinfo) {
    auto* gestion = reinterpret_cast<GestionErreurs*>(cinfo->err);
    std::longjmp(gestion->retour, 1);
}

// Warnings are not shown, except that a file whose data ends before its
// picture does is refused: the library would otherwise finish the page in
// grey. The data ends either with the file, or with its end marker reached
// early (a header that claims more rows than the data holds).
void Message(j_common_ptr cinfo, int niveau) {
    if (niveau != -1) return;
    const int code = cinfo->err->msg_code;
    const bool finAtteinte = code == JWRN_HIT_MARKER && cinfo->is_decompressor &&
                             reinterpret_cast<j_decompress_ptr>(cinfo)->unread_marker == JPEG_EOI;
    if (code == JWRN_JPEG_EOF || finAtteinte) SortieErreur(cinfo);
}

std::string TexteErreur(j_common_ptr cinfo) {
    char texte[JMSG_LENGTH_MAX] = {};
    cinfo->err->format_message(cinfo, texte);
    return texte;
}

}  // namespace

bool EstJPEG(const std::string& nom) {
    std::FILE* f = std::fopen(nom.c_str(), "rb");
    if (!f) return false;
    unsigned char debut[3] = {};
    const bool lu = std::fread(debut, 1, 3, f) == 3;
    std::fclose(f);
    return lu && debut[0] == 0xFF && debut[1] == 0xD8 && debut[2] == 0xFF;
}

// The decoding state lives outside the setjmp frame: nothing with a
// destructor is created between setjmp and the end of decoding.
struct DecodageJPEG {
    jpeg_decompress_struct cinfo{};
    GestionErreurs erreurs{};
    std::FILE* fichier = nullptr;
    LignesPage page;
    std::vector<uint8_t> ligne;  // one row of 8-bit RGB
    std::string erreur;
};

namespace {

bool Decode(DecodageJPEG& d, int dimensionMax) {
    if (setjmp(d.erreurs.retour)) {
        d.erreur = TexteErreur(reinterpret_cast<j_common_ptr>(&d.cinfo));
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.mem->max_memory_to_use = kMemoireDecodeur;
    jpeg_stdio_src(&d.cinfo, d.fichier);
    jpeg_read_header(&d.cinfo, TRUE);
    if (!TailleImageAcceptable("JPEG", static_cast<long>(d.cinfo.image_width),
                               static_cast<long>(d.cinfo.image_height), dimensionMax)) {
        d.erreur.clear();
        return false;
    }
    d.cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.cinfo);
    if (d.cinfo.output_components != 3) {
        d.erreur = TexteLangue("unexpected colour layout");
        return false;
    }
    // Row by row into the page: a file cut short stops at its last row
    // (see Message) having cost only the rows it held.
    try {
        d.ligne.assign(size_t{d.cinfo.output_width} * 3, 255);
    } catch (const std::bad_alloc&) {
        d.erreur = TexteLangue("not enough memory");
        return false;
    }
    if (!d.page.Reserve(static_cast<int>(d.cinfo.output_width),
                        static_cast<int>(d.cinfo.output_height))) {
        d.erreur = TexteLangue("not enough memory");
        return false;
    }
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW ligne = d.ligne.data();
        if (jpeg_read_scanlines(&d.cinfo, &ligne, 1) != 1) {
            d.erreur = TexteLangue("the file ends before the picture does");
            return false;
        }
        d.page.AjouteLigneRVB(d.ligne.data());
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

}  // namespace

Offscreen ChargeJPEG(const std::string& nom, int dimensionMax) {
    DecodageJPEG d;
    d.fichier = std::fopen(nom.c_str(), "rb");
    if (!d.fichier) {
        Alerte("Can't load data");
        return nullptr;
    }
    d.cinfo.err = jpeg_std_error(&d.erreurs.standard);
    d.erreurs.standard.error_exit = SortieErreur;
    d.erreurs.standard.emit_message = Message;
    const bool decode = Decode(d, dimensionMax);
    jpeg_destroy_decompress(&d.cinfo);
    std::fclose(d.fichier);
    if (!decode) {
        if (!d.erreur.empty()) Alerte("JPEG error: %s", d.erreur.c_str());
        return nullptr;
    }
    return d.page.Termine();
}
