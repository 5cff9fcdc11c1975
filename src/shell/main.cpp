#include "shell/app.h"

int main(int argc, char** argv) {
    return rek::runEditor(argc, argv);
}
