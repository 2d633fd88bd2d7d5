#include "Application.h"
#include "Form1.h"

int main(int argc, char** argv) {
    quillet::Application application(argc, argv);
    quillet::Form1 window;
    window.show();
    return application.exec();
}
