// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QPushButton;

// The program's help: one HTML document, lumi.html, shown in a help window of the program's
// own. Each help context is a topic of the document, an anchor named after its number
// (1000 about box, 2100 options, 2200 unit conversion, 3000 to 3400 the five tabs).
//
// The document lies beside the executable, or in the installation's data folder relative to it
// (tools::DataFilePaths; ../share/lumidra/ by default).

// Where the help document is looked for, in order, for the executable in exeDir.
QStringList HelpFilePaths(const QString &exeDir);

// The first place where the help document exists; the place beside the executable when it
// exists nowhere (the missing-file message names it).
QString LocateHelpFile();

// The help document in use: the one set, or else the located one. An empty path goes back to
// the located one.
void SetHelpFile(const QString &path);
QString HelpFile();

// Shows the contents of the help document. A missing document is reported (string 2500)
// through the general error handler; false then.
bool ShowHelpContents(QWidget *parent);

// Shows the topic of context; context 0 shows the contents.
bool ShowHelpContext(QWidget *parent, int context);

// F1 in window opens the topic of the focused control, or of its nearest enclosing control
// that has a help context (components/helpcontext.h); the contents when none has one.
void InstallHelpKey(QWidget *window);

// The help window: not modal, one for the whole program, made on first use. It does not keep
// the program running once the main window has closed. Opened from a modal dialog, it belongs
// to that dialog while the dialog is open (a modal dialog blocks every other window) and
// stands on its own again, with its topic, when the dialog closes.
class THelpViewer : public QWidget
{
    Q_OBJECT

public:
    // The help window if it has been made, else nullptr.
    static THelpViewer *Instance();

    // Shows the document at source (a file URL, with the topic as fragment) and brings the
    // window to the front.
    void ShowSource(const QUrl &source);
    QUrl Source() const;
    QTextBrowser *Browser() const { return m_browser; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend bool ShowHelpContext(QWidget *parent, int context);
    static THelpViewer *Get();
    THelpViewer();
    // Becomes a window of owner (null: a window of its own), keeping its place and state.
    void SetOwner(QWidget *owner);

    QTextBrowser *m_browser;
    QPushButton *m_contents;
    QPushButton *m_back;
    QPushButton *m_forward;
};
