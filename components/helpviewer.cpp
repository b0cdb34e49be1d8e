// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/helpviewer.h"

#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/uitext.h"
#include "tools/datadirs.h"
#include "tools/stringtable.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

constexpr char kHelpFileName[] = "lumi.html";
constexpr char kContentsAnchor[] = "contents";

QString &ChosenHelpFile()
{
    static QString path;
    return path;
}

QPointer<THelpViewer> &Viewer()
{
    static QPointer<THelpViewer> viewer;
    return viewer;
}

} // namespace

QStringList HelpFilePaths(const QString &exeDir)
{
    QStringList paths;
    for (const std::string &path : tools::DataFilePaths(ToStd(exeDir), kHelpFileName))
        paths << QDir::cleanPath(FromStd(path));
    return paths;
}

QString LocateHelpFile()
{
    const QStringList candidates = HelpFilePaths(QCoreApplication::applicationDirPath());
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return candidates.front();
}

void SetHelpFile(const QString &path)
{
    ChosenHelpFile() = path;
}

QString HelpFile()
{
    return ChosenHelpFile().isEmpty() ? LocateHelpFile() : ChosenHelpFile();
}

bool ShowHelpContents(QWidget *parent)
{
    return ShowHelpContext(parent, 0);
}

bool ShowHelpContext(QWidget *parent, int context)
{
    const QString file = HelpFile();
    if (!QFileInfo(file).isFile()) {
        ShowError(parent, FromStd(tools::FormatStr(2500, ToStd(QDir::toNativeSeparators(file)))));
        return false;
    }
    QUrl source = QUrl::fromLocalFile(file);
    source.setFragment(context != 0 ? QString::number(context)
                                    : QString::fromLatin1(kContentsAnchor));
    THelpViewer::Get()->ShowSource(source);
    return true;
}

void InstallHelpKey(QWidget *window)
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, [window] {
        const QWidget *focus = QApplication::focusWidget();
        if (focus == nullptr || (focus != window && !window->isAncestorOf(focus)))
            focus = window;
        ShowHelpContext(window, HelpContextFor(focus));
    });
}

THelpViewer *THelpViewer::Instance()
{
    return Viewer();
}

THelpViewer *THelpViewer::Get()
{
    if (Viewer().isNull()) {
        Viewer() = new THelpViewer;
        // Top-level windows without a parent outlive the application object otherwise.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, Viewer(), &QObject::deleteLater);
    }
    return Viewer();
}

THelpViewer::THelpViewer()
    : QWidget(nullptr, Qt::Window), m_browser(new QTextBrowser(this)),
      m_contents(new QPushButton(Str(2502), this)), m_back(new QPushButton(Str(2503), this)),
      m_forward(new QPushButton(Str(2504), this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(u' ' + Str(2501));
    setAttribute(Qt::WA_QuitOnClose, false);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_contents->setObjectName(QStringLiteral("btContents"));
    m_back->setObjectName(QStringLiteral("btBack"));
    m_forward->setObjectName(QStringLiteral("btForward"));
    m_browser->setOpenExternalLinks(true);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {m_contents, m_back, m_forward}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    resize(640, 560);

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this, [this] { ShowHelpContents(this); });
}

void THelpViewer::ShowSource(const QUrl &source)
{
    QWidget *modal = QApplication::activeModalWidget();
    SetOwner(modal != this ? modal : nullptr);
    // The same topic again: scroll back to it, the reader may have moved away from it.
    if (m_browser->source() == source)
        m_browser->scrollToAnchor(source.fragment());
    else
        m_browser->setSource(source);
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void THelpViewer::SetOwner(QWidget *owner)
{
    if (parentWidget() == owner)
        return;
    const bool shown = isVisible();
    const QRect place = geometry();
    if (parentWidget() != nullptr)
        parentWidget()->removeEventFilter(this);
    setParent(owner, Qt::Window);
    setAttribute(Qt::WA_QuitOnClose, false);
    if (owner != nullptr)
        owner->installEventFilter(this);
    setGeometry(place);
    if (shown)
        show();
}

// The owning dialog is closing: the help stays open on its own rather than go with it.
bool THelpViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Hide)
        SetOwner(nullptr);
    return QWidget::eventFilter(watched, event);
}

QUrl THelpViewer::Source() const
{
    return m_browser->source();
}

void THelpViewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
