#include "app/application.h"

int main(int argc, char** argv) {
    return tarvenor::run_tarvenor(argc, argv);
}
