#include "app/TranslationServices.h"
#include "app/Unit1.h"
#include "platform/gui/Application.h"

int main(int argc, char** argv) {
    quorvex::platform::TApplication application(argc, argv, quorvex::kApplicationTitle);
    quorvex::TOnlineServices services;
    quorvex::TForm1 form1(services, argc > 1);
    application.SetMainWindow(&form1);
    // A second instance ends before its window is ever shown.
    if (form1.SecondInstance())
        return 0;
    form1.show();
    return application.exec();
}
