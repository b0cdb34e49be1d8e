// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window: the menu, the page control with the five calculator pages (app/pages/),
// the Exit button, the window's placement, start-up and closing, and what spans the pages:
// the film database, the main unit, help contexts and the dialogs of the menus.
//
// How a keystroke reaches its result: a key typed into a numeric field of a page first passes
// the field's key filter (TNumericKeyFilter), which lets through only what keeps the text a
// number. The changed text runs the handler the page connected to the field through
// ConnectGuarded (DiameterPage::edImageDistance1Change and its kin), which calls the page's
// recalculation routines in a fixed order. A routine reads the page's fields, has the core
// (tools/) compute in millimetres and seconds and writes the page's result fields as text. The
// diameter, angle and magnification pages recalculate on every change; the exposure and zone
// plate pages only empty their tables on a change and fill them when their Calculate button
// is pressed. The window takes part only in what concerns every page: the options dialog tells
// it that the preferences changed, and it has each page that is built recalculate itself.
//
// Only the page shown at start-up is built with the window; the others are built when first
// selected or when something needs them (CalculatorPage, TLazyPage). The window is fitted to
// the running font before that, from each page's form table, so building a page later changes
// neither the window nor the page.

#include "app/filmcatalogue.h"
#include "components/plansizes.h"
#include "dialogs/frmpreferences.h"
#include "tools/constants.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TfrmMain;
}

class AnglePage;
class CalculatorPage;
class DiameterPage;
class ExposurePage;
class MagnificationPage;
class TConstantList;
class TFrmConvert;
class TFrmCustomConstant;
class ZonePlatePage;

class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // planSizesFile: where the room of the pages not built at start-up is kept from one start to
    // the next (TPlanSizes); empty: it is worked out at every start.
    explicit TfrmMain(QWidget *parent = nullptr, const QString &planSizesFile = {});
    ~TfrmMain() override;

    // The unit conversion tool, made when Tools > Unit Conversion... first asks for it; null
    // until then.
    void CreateConvertDialog();
    TFrmConvert *ConvertDialog() const { return FrmConvert; }

    // The user constant dialog, made when a constant list first asks for it; null until then.
    void CreateCustomConstantDialog();
    TFrmCustomConstant *CustomConstantDialog() const { return FrmCustomConstant; }

    // The pages, in the order of the tabs; each is built when asked for here.
    DiameterPage *Diameter();
    ExposurePage *Exposure();
    AnglePage *Angle();
    MagnificationPage *Magnification();
    ZonePlatePage *ZonePlate();
    // The page at index, built or not.
    CalculatorPage *Page(int index) const;
    int PageCount() const;

    // Every unit list of the pages built so far on the main unit; a page built later selects
    // it itself.
    void SelectMainUnit();
    // The constant of the entry target's list shows (the page is built if need be).
    double SelectedConstant(tools::ConstantTarget target);

    // The film database read at start-up; both empty when none was loaded. The About box
    // shows the version (UTF-8).
    const tools::TFilms &Films() const { return m_films.Shipped; }
    const std::string &FilmDBVersion() const { return m_films.Version; }
    // The user's own films, which the film list shows after the shipped ones.
    const std::vector<tools::OwnFilm> &OwnFilms() const { return m_films.Own; }

    // Where windows created from now on look for the film database, in this order. Empty (the
    // default): beside the executable, then in ../share/lumidra/ (tools::FilmDatabasePaths).
    // Tests point it at databases of their own.
    static void SetFilmDatabasePaths(std::vector<std::string> paths);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Start-up and the window itself.
    void FormCreate();
    void FormActivate();
    void FormClose();
    void FitToFont();
    static std::optional<QPoint> StoredPosition();
    void PlaceWindow(const std::optional<QPoint> &stored);
    void CentreOnScreen();
    void AddPages();
    void SetCaptions();
    void WireShell();
    void WirePages();
    void PressDefaultButton();
    void PageControlChange(int index);
    template <typename T> T *Built(T *page);

    // The menus.
    void convert1Click();
    void films1Click();
    void preferences1Click();
    void content1Click();
    void about1Click();

    // What the dialogs changed, followed by the pages that are built.
    void FollowPreferences(TFrmPreferences::Changes changes);
    void UserConstantRequested(TConstantList *list);
    void ConstantStored(tools::ConstantTarget target, double value);
    void CalcAngleOfView();

    // The films: the shipped database and the user's own, read at start-up.
    void LoadFilmDatabase();
    void LoadOwnFilms(const std::string &shippedPath);
    bool StoreOwnFilms(const std::vector<tools::OwnFilm> &films);

    std::unique_ptr<Ui::TfrmMain> ui;

    DiameterPage *m_diameter = nullptr;
    ExposurePage *m_exposure = nullptr;
    AnglePage *m_angle = nullptr;
    MagnificationPage *m_magnification = nullptr;
    ZonePlatePage *m_zonePlate = nullptr;

    // Owned by this window as its parent; null until CreateCustomConstantDialog.
    TFrmCustomConstant *FrmCustomConstant = nullptr;

    // Owned by this window as its parent; null until CreateConvertDialog.
    TFrmConvert *FrmConvert = nullptr;

    FilmCatalogue m_films;
    TPlanSizes m_planSizes;
};
