// The application object: sets where the settings live, runs the receipt form modally and
// lets the program end when the form closes. Arguments on the command line are ignored.
#pragma once

#include <QApplication>
#include <QTranslator>

class CTalveroApp : public QApplication {
    Q_OBJECT

public:
    CTalveroApp(int& argc, char** argv);

    // Runs the form until it closes. Always returns false: there is no loop of the
    // application's own to run afterwards.
    bool InitInstance();

private:
    QTranslator qtTranslator_; // the framework's own dialogs and buttons in Spanish
};
