#include "app/cli.h"

#include "app/commands.h"
#include "app/startup.h"
#include "toolbox/progress_console.h"

int ExecuteLigneCommande(int argc, char** argv) {
    CLI::App app{"Ruzo: optical music recognition. Turns pages of printed music into scores.",
                 "ruzo"};
    app.set_version_flag("--version", std::string("ruzo ") + RUZO_VERSION);
    app.require_subcommand(1);
    int code = kSucces;
    EnregistreCommandeDemo(app, code);
    EnregistreCommandeOptions(app, code);
    EnregistreCommandeInspect(app, code);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kErreurUsage;
    }
    return code;
}
