// The application object: names the program and its help file, and shows the player any
// exception that escapes an event handler instead of letting it end the program.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

class TApplication : public QApplication {
    Q_OBJECT
public:
    static const QString Title;    // "Pellinoraxis"
    static const QString HelpFile; // "Pellinoraxis.hlp", beside the program

    TApplication(int& argc, char** argv);

    // Delivers the event; an exception escaping the receiver's handler is shown in a message
    // box and the program goes on with the next event.
    bool notify(QObject* receiver, QEvent* event) override;

    // The standard report of an exception: a message box with its text.
    static void ShowException(const std::exception& error);
    // How many exceptions were reported (the tests watch this).
    static int ReportedExceptions();
};

// Runs one delivery of an event; a std::exception escaping it is reported with
// TApplication::ShowException and the delivery counts as not handled.
bool DeliverReportingExceptions(const std::function<bool()>& deliver);
