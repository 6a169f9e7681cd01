#include "app/CommandLineInfo.h"
#include "app/TranslationServices.h"
#include "app/Unit1.h"
#include "app/WindowMemory.h"
#include "platform/gui/Application.h"
#include "platform/gui/DisplayPlatform.h"
#include "platform/gui/QtTranslations.h"
#include "platform/gui/ShowRequests.h"
#include "platform/gui/TerminationRequests.h"
#include "tray/TrayIcon.h"
#include "upgrader/upStartUp.h"

#include <QSessionManager>
#include <iostream>

int main(int argc, char** argv) {
    if (const auto info = quorvex::CommandLineInfo({argv + 1, argv + argc})) {
        std::cout << *info;
        return 0;
    }
    quorvex::CompleteInterruptedUpgrade(argv);
    quorvex::platform::ChooseDisplayPlatform();
    quorvex::platform::TApplication application(argc, argv, quorvex::kApplicationTitle);
    quorvex::platform::ReportPlatformLimits();
    quorvex::platform::UseChineseQtTexts(application);
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
    quorvex::TWindowMemory memory(form1);
    memory.Restore();
    // Written when the program ends, and when the desktop session asks before it ends (it may
    // then end the program without letting it quit).
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&memory] { memory.Save(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&memory](QSessionManager&) { memory.Save(); });
    quorvex::platform::HandleTerminationRequests(form1, [&form1] { form1.N1Click(); });
    if (form1.TrayIcon1->ShowMainForm())
        form1.show();
    quorvex::ForgetReplacedFiles();
    return application.exec();
}
