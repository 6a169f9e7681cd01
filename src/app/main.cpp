#include "app/TranslationServices.h"
#include "app/Unit1.h"
#include "platform/gui/Application.h"
#include "platform/gui/DisplayPlatform.h"
#include "platform/gui/ShowRequests.h"
#include "tray/TrayIcon.h"

int main(int argc, char** argv) {
    quorvex::platform::ChooseDisplayPlatform();
    quorvex::platform::TApplication application(argc, argv, quorvex::kApplicationTitle);
    quorvex::platform::ReportPlatformLimits();
    // The program lives on in the tray while its window is hidden; closing the window or the
    // tray menu's Exit ends it.
    application.setQuitOnLastWindowClosed(false);
    quorvex::TOnlineServices services;
    quorvex::TForm1 form1(services, argc > 1);
    application.SetMainWindow(&form1);
    // A second instance ends before its window is ever shown, once it has asked the running
    // one to show its own (a person starting the program wants to see it).
    if (form1.SecondInstance()) {
        quorvex::platform::TShowRequests::AskToShow(quorvex::kInstanceName,
                                                    quorvex::kShowRequestLimit);
        return 0;
    }
    if (form1.TrayIcon1->ShowMainForm())
        form1.show();
    return application.exec();
}
