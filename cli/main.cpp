#include "commands.h"

int main(int argc, char** argv) {
    return quillet::cli::run(argc, argv);
}
