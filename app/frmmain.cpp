// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "app/pages/anglepage.h"
#include "app/pages/diameterpage.h"
#include "app/pages/exposurepage.h"
#include "app/pages/magnificationpage.h"
#include "app/pages/zoneplatepage.h"
#include "components/constantlist.h"
#include "components/fittext.h"
#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/placement.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "dialogs/filmshost.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmconvert.h"
#include "dialogs/frmcustomconstant.h"
#include "dialogs/frmfilms.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <exception>
#include <functional>
#include <iterator>
#include <utility>

namespace {

// The client area below the menu bar, for a small font; the controls and the window grow
// where the texts need more room at the running font.
constexpr QSize kClientSize(536, 396);

// The pages in the order of the tabs: caption and help context.
struct PageInfo
{
    int caption;
    int helpContext;
};
constexpr PageInfo kPages[] = {
    {1300, 3000}, // pinhole diameter and focal length
    {1800, 3100}, // exposure
    {1400, 3200}, // angle of view
    {1500, 3300}, // magnification
    {1600, 3400}, // zone plate
};

template <typename Fn> void IgnoreFailure(Fn fn)
{
    try {
        fn();
    } catch (const std::exception &) {
        // Window placement is a convenience: a value that is missing or cannot be read or
        // written leaves the window where it is.
    }
}

std::vector<std::string> &FilmDatabasePathOverride()
{
    static std::vector<std::string> paths;
    return paths;
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent, const QString &planSizesFile)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>()), m_planSizes(planSizesFile)
{
    ui->setupUi(this);

    // Fixed size: single border, system menu and minimise box, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    centralWidget()->setFixedSize(kClientSize);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Empty pages: each makes its controls when it is first shown or asked for, and reads the
    // preferences and the films then; the page control gets them once those are loaded.
    m_diameter = new DiameterPage;
    m_exposure = new ExposurePage(m_films);
    m_angle = new AnglePage;
    m_magnification = new MagnificationPage;
    m_zonePlate = new ZonePlatePage;

    WireShell();
    WirePages();
    InstallHelpKey(this);

    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // The controls outlive this part of the window: one that loses the focus while the base
    // class takes the window down must not call a handler that reads the window.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void TfrmMain::FormCreate()
{
    const WaitCursor hourglass;
    const std::optional<QPoint> stored = StoredPosition();
    Guarded(this, [] { tools::LoadPreferences(); });
    Guarded(this, [this] { LoadFilmDatabase(); });
    AddPages();
    SetCaptions();

    // Placed by the final size, which is known once every text is in place.
    FitToFont();
    PlaceWindow(stored);
}

// The controls, the tables' columns and the window grow where a text needs more room at the
// running font than the coordinates of the forms give them. The page shown at start-up is
// built first and fitted as it stands; the others are fitted from their form tables and fit
// their controls into the same room when they are built.
void TfrmMain::FitToFont()
{
    if (auto *page = qobject_cast<CalculatorPage *>(ui->PageControl->currentWidget()))
        page->EnsureBuilt();
    ui->PageControl->SetPlanSizes(&m_planSizes);
    centralWidget()->setFixedSize(FitFormToText(centralWidget()));
    ui->PageControl->SetPlanSizes(nullptr);
    layout()->activate(); // settles the window's fixed size
    m_planSizes.Save();
}

// The stored position (left, top), if there is one.
std::optional<QPoint> TfrmMain::StoredPosition()
{
    std::optional<QPoint> stored;
    IgnoreFailure([&stored] {
        if (tools::SettingExists("Top") && tools::SettingExists("Left")) {
            const int top = tools::ReadSettingInteger("Top");
            const int left = tools::ReadSettingInteger("Left");
            stored = QPoint(left, top);
        }
    });
    return stored;
}

// At the stored position when the user can reach the window there by its title bar on one of
// the screens connected now; centred on the primary screen otherwise (no position stored, a
// monitor unplugged, a smaller screen).
void TfrmMain::PlaceWindow(const std::optional<QPoint> &stored)
{
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    if (stored && TitleBarReachable(QRect(*stored, frameSize()), titleBar, ScreenAreas())) {
        move(*stored);
        return;
    }
    CentreOnScreen();
}

void TfrmMain::CentreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

// The position when the window last became active; FormClose compares it with the position at
// the end, so a move is kept only when nothing came between it and the close.
void TfrmMain::FormActivate()
{
    IgnoreFailure([this] {
        tools::WriteSettingInteger("sTop", pos().y());
        tools::WriteSettingInteger("sLeft", pos().x());
    });
}

void TfrmMain::FormClose()
{
    IgnoreFailure([this] {
        const int top = tools::ReadSettingInteger("sTop");
        const int left = tools::ReadSettingInteger("sLeft");
        if (pos().y() != top || pos().x() != left) {
            tools::WriteSettingInteger("Top", pos().y());
            tools::WriteSettingInteger("Left", pos().x());
        }
    });
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

// The first page is built as it becomes the current one.
void TfrmMain::AddPages()
{
    const std::pair<CalculatorPage *, const char *> pages[] = {
        {m_diameter, "TabSheet1"},      {m_exposure, "TabSheet5"},  {m_angle, "TabSheet2"},
        {m_magnification, "TabSheet3"}, {m_zonePlate, "TabSheet4"},
    };
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        auto [page, name] = pages[i];
        page->setObjectName(QLatin1String(name));
        ui->PageControl->addTab(page, QString());
        SetHelpContext(page, kPages[i].helpContext);
    }
    ui->PageControl->setCurrentIndex(0);
    PageControlChange(0);
}

void TfrmMain::SetCaptions()
{
    setWindowTitle(u' ' + Str(1));
    ui->btExit->setText(Str(1110));
    for (int page = 0; page < ui->PageControl->count(); ++page) {
        const QString text = Str(kPages[page].caption);
        ui->PageControl->setTabText(page, text);
        ui->PageControl->setTabToolTip(page, text); // the whole caption of an elided tab
    }

    const std::pair<QAction *, int> menuItems[] = {
        {ui->file1->menuAction(), 1000},
        {ui->exit1, 1003},
        {ui->tools1->menuAction(), 1020},
        {ui->convert1, 1021},
        {ui->films1, 2700},
        {ui->preferences1, 1022},
        {ui->help1->menuAction(), 1040},
        {ui->content1, 1041},
        {ui->about1, 1042},
    };
    for (const auto &[action, id] : menuItems)
        action->setText(Str(id));
}

void TfrmMain::WireShell()
{
    connect(ui->btExit, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->exit1, &QAction::triggered, this, &QWidget::close);
    const std::pair<QAction *, void (TfrmMain::*)()> menu[] = {
        {ui->convert1, &TfrmMain::convert1Click},
        {ui->films1, &TfrmMain::films1Click},
        {ui->preferences1, &TfrmMain::preferences1Click},
        {ui->content1, &TfrmMain::content1Click},
        {ui->about1, &TfrmMain::about1Click},
    };
    for (const auto &[action, handler] : menu)
        ConnectGuarded(action, &QAction::triggered, this, handler);
    connect(ui->PageControl, &QTabWidget::currentChanged, this, &TfrmMain::PageControlChange);
    // A page that needed more room than its form table promised: the window makes it.
    connect(ui->PageControl, &TPageControl::grown, this, [this](QSize extra) {
        centralWidget()->setFixedSize(centralWidget()->size() + extra);
        layout()->activate();
    });
}

void TfrmMain::WirePages()
{
    connect(m_diameter, &DiameterPage::UserConstantRequested, this,
            &TfrmMain::UserConstantRequested);
    connect(m_zonePlate, &ZonePlatePage::UserConstantRequested, this,
            &TfrmMain::UserConstantRequested);
}

// Enter reaches the window when the focused control did not take it (a focused button
// presses itself).
void TfrmMain::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        PressDefaultButton();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// On the exposure and zone plate pages, Enter in any control but a button presses the page's
// Calculate button when it is enabled; the other pages have no default button.
void TfrmMain::PressDefaultButton()
{
    if (qobject_cast<QPushButton *>(QApplication::focusWidget()) != nullptr)
        return;
    auto *page = qobject_cast<CalculatorPage *>(ui->PageControl->currentWidget());
    QPushButton *button = page != nullptr ? page->DefaultButton() : nullptr;
    if (button != nullptr && button->isEnabled())
        button->click();
}

void TfrmMain::PageControlChange(int index)
{
    const bool known = index >= 0 && index < static_cast<int>(std::size(kPages));
    SetHelpContext(ui->PageControl, known ? kPages[index].helpContext : 0);
}

int TfrmMain::PageCount() const
{
    return ui->PageControl->count();
}

CalculatorPage *TfrmMain::Page(int index) const
{
    return qobject_cast<CalculatorPage *>(ui->PageControl->widget(index));
}

template <typename T> T *TfrmMain::Built(T *page)
{
    page->EnsureBuilt();
    return page;
}

DiameterPage *TfrmMain::Diameter()
{
    return Built(m_diameter);
}

ExposurePage *TfrmMain::Exposure()
{
    return Built(m_exposure);
}

AnglePage *TfrmMain::Angle()
{
    return Built(m_angle);
}

MagnificationPage *TfrmMain::Magnification()
{
    return Built(m_magnification);
}

ZonePlatePage *TfrmMain::ZonePlate()
{
    return Built(m_zonePlate);
}

// Selecting in code runs no change handler: whoever changes the main unit recalculates.
void TfrmMain::SelectMainUnit()
{
    for (int i = 0; i < PageCount(); ++i)
        if (CalculatorPage *page = Page(i); page->IsBuilt())
            page->SelectMainUnit();
}

double TfrmMain::SelectedConstant(tools::ConstantTarget target)
{
    TConstantList *list = target == tools::ConstantTarget::Pinhole ? Diameter()->ConstantList()
                                                                   : ZonePlate()->ConstantList();
    return list->SelectedConstant();
}

void TfrmMain::CreateConvertDialog()
{
    if (FrmConvert != nullptr)
        return;
    FrmConvert = new TFrmConvert(this);
    ConnectGuarded(FrmConvert, &TFrmConvert::CalcAngleOfViewRequested, this,
                   &TfrmMain::CalcAngleOfView);
}

void TfrmMain::CreateCustomConstantDialog()
{
    if (FrmCustomConstant != nullptr)
        return;
    FrmCustomConstant = new TFrmCustomConstant(this);
    connect(FrmCustomConstant, &TFrmCustomConstant::ConstantStored, this,
            [this](tools::ConstantTarget target, double value) {
                Guarded(this, [&] { ConstantStored(target, value); });
            });
}

void TfrmMain::UserConstantRequested(TConstantList *list)
{
    // Made on first use: nothing of it is needed before, and the start stays quick.
    CreateCustomConstantDialog();
    FrmCustomConstant->Execute(list);
}

// The user constant dialog stored a constant and rebuilt its list.
void TfrmMain::ConstantStored(tools::ConstantTarget target, double value)
{
    // A new constant for either list makes the zone plate results stale; a removed one for
    // the zone plate's list leaves the list on another constant than the table was computed
    // with. The zone plate is recalculated by its own Calculate button.
    if ((value > 0 || target == tools::ConstantTarget::ZonePlate) && m_zonePlate->IsBuilt())
        m_zonePlate->ResetZonePlateTab();
    if (target == tools::ConstantTarget::Pinhole && m_diameter->IsBuilt()) {
        m_diameter->CalcOptimalFocalLength();
        m_diameter->CalcOptimalDiameter();
    }
}

void TfrmMain::CalcAngleOfView()
{
    if (m_angle->IsBuilt())
        m_angle->CalcAngleOfView();
}

void TfrmMain::convert1Click()
{
    // Made on first use and kept: it shows the last values again when it is reopened.
    CreateConvertDialog();
    FrmConvert->ShowOrRaise();
}

void TfrmMain::preferences1Click()
{
    TFrmPreferences dialog(this);
    connect(&dialog, &TFrmPreferences::PreferencesChanged, this,
            [this](TFrmPreferences::Changes changes) {
                Guarded(this, [&] { FollowPreferences(changes); });
            });
    ConnectGuarded(&dialog, &TFrmPreferences::CalcAngleOfViewRequested, this,
                   &TfrmMain::CalcAngleOfView);
    dialog.exec();
}

// The pages built so far show the new preferences; the others read them when they are built.
void TfrmMain::FollowPreferences(TFrmPreferences::Changes changes)
{
    if (changes.testFlag(TFrmPreferences::Change::MainUnit))
        SelectMainUnit();
    for (int i = 0; i < PageCount(); ++i)
        if (CalculatorPage *page = Page(i); page->IsBuilt())
            Guarded(this, [page, changes] { page->PreferencesChanged(changes); });
}

void TfrmMain::content1Click()
{
    ShowHelpContents(this);
}

void TfrmMain::about1Click()
{
    TFrmAbout box(FromStd(FilmDBVersion()), this);
    ConnectGuarded(&box, &TFrmAbout::CalcAngleOfViewRequested, this, &TfrmMain::CalcAngleOfView);
    box.exec();
}

void TfrmMain::films1Click()
{
    class Host final : public IFilmsHost
    {
    public:
        explicit Host(TfrmMain &window) : w(window) {}
        std::vector<std::string> ShippedFilmNames() const override
        {
            return tools::FilmNames(w.m_films.Shipped);
        }
        const std::vector<tools::OwnFilm> &OwnFilms() const override { return w.m_films.Own; }
        bool StoreOwnFilms(const std::vector<tools::OwnFilm> &films) override
        {
            return w.StoreOwnFilms(films);
        }
        std::string OwnFilmsFolder() const override { return w.m_films.OwnFolder; }

    private:
        TfrmMain &w;
    };

    Host host(*this);
    TFrmFilms dialog(host, this);
    dialog.exec();
    // A film may have changed or gone: the list is rebuilt and the table emptied. A page not
    // built yet lists the films as they are when it is built.
    if (m_exposure->IsBuilt())
        m_exposure->FilmsChanged();
}

void TfrmMain::SetFilmDatabasePaths(std::vector<std::string> paths)
{
    FilmDatabasePathOverride() = std::move(paths);
}

void TfrmMain::LoadFilmDatabase()
{
    std::vector<std::string> paths = FilmDatabasePathOverride();
    if (paths.empty())
        paths = tools::FilmDatabasePaths(ToStd(QCoreApplication::applicationDirPath()));
    tools::FilmDatabase database = tools::LoadFirstFilmDatabase(paths);
    m_films.Shipped = std::move(database.Films);
    m_films.Version = std::move(database.FilmDBVersion);
    m_films.ShippedLoaded = database.Status == tools::FilmDatabaseStatus::Ok;
    if (!m_films.ShippedLoaded)
        ShowFilmDataError(this,
                          Str(database.Status == tools::FilmDatabaseStatus::Missing ? 1815 : 1826));
    // The user's own films stay usable without the shipped ones.
    LoadOwnFilms(database.Path);
}

void TfrmMain::LoadOwnFilms(const std::string &shippedPath)
{
    m_films.OwnFolder = tools::OwnFilmsFolder();
    m_films.OwnClash = tools::OwnFilmsClashWith(m_films.OwnFolder, shippedPath);
    if (m_films.OwnClash)
        return;
    tools::OwnFilms own = tools::LoadOwnFilms(m_films.OwnFolder);
    m_films.Own = std::move(own.Films);
    if (!own.DamagedFile.empty()) {
        const QString file = QDir::toNativeSeparators(FromStd(own.DamagedFile));
        const QString backup =
            QDir::toNativeSeparators(FromStd(tools::OwnFilmsBackupPath(own.DamagedFile)));
        ShowFilmDataError(this, FromStd(tools::FormatStr(2709, {ToStd(file), ToStd(backup)})));
    }
}

bool TfrmMain::StoreOwnFilms(const std::vector<tools::OwnFilm> &films)
{
    if (m_films.OwnClash || !tools::SaveOwnFilms(m_films.OwnFolder, films))
        return false;
    m_films.Own = films;
    return true;
}
