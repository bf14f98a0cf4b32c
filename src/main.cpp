#include "app/Application.h"

int main(int argc, char* argv[]) {
    return tivora::runApplication(argc, argv);
}
