#include "app/cli.h"

#include "app/command_batch.h"
#include "app/commands.h"
#include "shell/language_file.h"
#include "toolbox/messages.h"

namespace {

constexpr const char* kPiedAide =
    "\nEvery command has --help.\n"
    "Exit codes:\n"
    "  0  success: every page recognised, every file written\n"
    "  1  some pages failed (recognize: the other pages are in the files written);\n"
    "     for the other commands, recognition failed\n"
    "  2  usage error\n"
    "  3  unreadable or invalid input (not an image, a damaged image or page list)\n"
    "  4  nothing recognised, or the files could not be written: earlier files\n"
    "     of the same name are left as they were\n"
    "  5  interrupted (Ctrl-C, SIGTERM, SIGHUP): earlier files left as they were\n"
    "A run's files (.msb, .msf, MusicXML, MIDI, page views) replace earlier ones\n"
    "together, only once all are complete.\n"
    "Messages are in English; 'ruzo prefs set Langue 2' turns them to French.\n"
    "\n"
    "Folders (see man ruzo):\n"
    "  settings    $XDG_CONFIG_HOME/Talvek/VostPref (default ~/.config/Talvek/VostPref)\n"
    "  crash.log   $XDG_STATE_HOME/ruzo (default ~/.local/state/ruzo)\n"
    "  temporary   $TMPDIR/ruzo-UID (default /tmp/ruzo-UID)\n"
    "  documents   the folder named in PathUser.cfg, else $XDG_DOCUMENTS_DIR\n"
    "              (default ~/Documents), with \"Talvek Documents/Ruzo\" inside\n"
    "Environment: RUZO_HOME, when set, holds all of them instead: settings in\n"
    "RUZO_HOME/Talvek/VostPref, crash.log in RUZO_HOME, documents in\n"
    "RUZO_HOME/Documents.\n";

}  // namespace

int ExecuteLigneCommande(int argc, char** argv) {
    CLI::App app{"Ruzo: optical music recognition. Turns pages of printed music into scores.",
                 "ruzo"};
    app.set_version_flag("--version", std::string("ruzo ") + RUZO_VERSION);
    app.require_subcommand(1);
    app.footer(kPiedAide);
    // Options are checked while the line is parsed, before a command starts up:
    // their messages need the language already.
    ChargeLangue();
    int code = kSucces;
    EnregistreCommandeDemo(app, code);
    EnregistreCommandeOptions(app, code);
    EnregistreCommandePrefs(app, code);
    EnregistreCommandeInspect(app, code);
    EnregistreCommandeReconnaissance(app, code);
    EnregistreCommandeExport(app, code);
    EnregistreCommandePrepare(app, code);
    EnregistreCommandePortees(app, code);
    EnregistreCommandeDoc(app, code);
    EnregistreCommandeLot(app, code);
    EnregistreCommandeScan(app, code);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // An unknown command word would otherwise be reported as a missing one.
        if (argc > 1 && argv[1][0] != '-' && app.get_subcommands().empty())
            std::fprintf(
                stderr,
                TexteLangue("ruzo: unknown command '%s'\nRun ruzo --help for the commands.\n"),
                argv[1]);
        else
            app.exit(e);
        return kErreurUsage;
    }
    return code;
}
