#include "app/cli.h"

int main(int argc, char** argv) {
    return ExecuteLigneCommande(argc, argv);
}
