// The tester program. PX9_SERIAL_OFFSET, set by the executable's target,
// chooses the build: 0 for px9tester9x, 4 for px9tester.
#include "Deliverable.h"
#include "PrinterTests.h"
#include "TesterWindow.h"
#include "WindowModel.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <csignal>

#ifndef PX9_SERIAL_OFFSET
#error "PX9_SERIAL_OFFSET must be set by the executable's target"
#endif

int main(int argc, char* argv[])
{
    // A reader that goes away is a write error to report, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);

    QApplication application(argc, argv);
    // The classic style draws a frame's caption on its top border, the look
    // the window's layout was drawn for.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);
    const Deliverable deliverable = deliverableForSerialOffset(PX9_SERIAL_OFFSET);
    QApplication::setApplicationName(QString::fromStdString(deliverable.name));

    PrinterTests printerTests(PrinterPorts{DeviceFolder::forCurrentUser(), deliverable.serialOffset});
    WindowModel model;
    printerTests.attachTo(model);
    TesterWindow window(model, deliverable);
    model.load();
    if (model.failed())
        return 1;  // reported already; the event loop that would end with it never started
    window.show();
    return application.exec();
}
