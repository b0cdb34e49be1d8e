// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window: five calculator tabs, the menu and the Exit button.
//
// How input reaches the display: a key typed into a numeric field first passes the field's
// key filter (TNumericKeyFilter), which lets through only what keeps the text a number. The
// changed text runs the field's change handler (edWave1Change and its kin, wired in the
// constructor), which calls the tab's recalculation routines in a fixed order. A routine reads
// its tab's fields, has the core (tools/) compute in millimetres and seconds and writes the
// result fields as text. The diameter, angle and magnification tabs recalculate on every
// change; the exposure and zone plate tabs only empty their tables on a change and fill them
// when their Calculate button is pressed.

#include "components/guarded.h"
#include "dialogs/constantlisthost.h"
#include "tools/constants.h"
#include "tools/exposure.h"
#include "tools/films.h"
#include "tools/ownfilms.h"
#include "tools/zoneplate.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TfrmMain;
}
class TExposureSaveDialog;

class QComboBox;
class TFrmConvert;
class TFrmCustomConstant;
struct TZonePlateInputs;

class TfrmMain : public QMainWindow, public IConstantListHost
{
    Q_OBJECT

public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Start-up step after the window: the unit conversion tool, hidden until Tools > Unit
    // Conversion... shows it.
    void CreateConvertDialog();
    TFrmConvert *ConvertDialog() const { return FrmConvert; }

    // The two constant lists, numbered as the user constant dialog knows them.
    static constexpr tools::ConstantTarget DiameterConstant = tools::ConstantTarget::Pinhole;
    static constexpr tools::ConstantTarget ZonePlateConstant = tools::ConstantTarget::ZonePlate;

    // Start-up step after the window: the user constant dialog, hidden until a constant list
    // asks for it.
    void CreateCustomConstantDialog();
    TFrmCustomConstant *CustomConstantDialog() const { return FrmCustomConstant; }

    // Set-up and recalculation of the tabs; the dialogs run them too after they changed what
    // the results depend on.
    void SelectMainUnit();
    void FillConstantList(tools::ConstantTarget target, bool selectUser) override;
    // The constant of the entry target's list shows.
    double SelectedConstant(tools::ConstantTarget target) const;
    int ConstantListIndex(tools::ConstantTarget target) const override;
    void SelectConstantListIndex(tools::ConstantTarget target, int index) override;
    int PrevConstantIndex(tools::ConstantTarget target) const override;
    void SetPrevConstantIndex(tools::ConstantTarget target, int index) override;
    void CalcOptimalDiameter() override;
    void CalcOptimalFocalLength() override;
    void CalcFNumber();
    void CalcExposureFactor();
    void ResetExposureTable();
    void UpdateExposureFactor();
    void FillExposureTable();
    void CalcAngleOfView();
    void DrawAngleDiagram(double halfAngle);
    void ClearAngleDiagram();
    void CalcMagnification();
    void ResetZonePlateTab() override;
    void ShowZonePlateTable();

    // The film database read at start-up; both empty when none was loaded. The About box
    // shows the version (UTF-8).
    const tools::TFilms &Films() const { return m_films; }
    const std::string &FilmDBVersion() const { return m_filmDBVersion; }
    // The user's own films, which the film list shows after the shipped ones.
    const std::vector<tools::OwnFilm> &OwnFilms() const { return m_ownFilms; }

    // Where windows created from now on look for the film database, in this order. Empty (the
    // default): beside the executable, then in ../share/lumidra/ (tools::FilmDatabasePaths).
    // Tests point it at databases of their own.
    static void SetFilmDatabasePaths(std::vector<std::string> paths);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Handler = void (TfrmMain::*)();

    // Connects signal of sender to a parameterless handler of this window. The handler runs
    // under the general error handler, so that no exception ever reaches Qt.
    template <typename Sender, typename Signal>
    void Wire(Sender *sender, Signal signal, Handler handler)
    {
        connect(sender, signal, this, [this, handler] { Run(handler); });
    }
    void Run(Handler handler)
    {
        Guarded(this, [this, handler] { (this->*handler)(); });
    }

    // Start-up and the window itself (frmmain.cpp).
    void FormCreate();
    void FormActivate();
    void FormClose();
    void FitToFont();
    static std::optional<QPoint> StoredPosition();
    void PlaceWindow(const std::optional<QPoint> &stored);
    void CentreOnScreen();
    void SetCaptions();
    void SetAccessibleNames();
    void GreyResultFields();
    void FillUnitLists();
    void InstallKeyFilters();
    void WireShell();
    void PressDefaultButton();
    void PageControlChange(int index);
    void btExitClick();
    void exit1Click();
    void convert1Click();
    void films1Click();
    void preferences1Click();
    void content1Click();
    void about1Click();

    // Diameter tab and the constant lists (frmmain_diameter.cpp).
    void WireDiameterTab();
    void edPinholeDiameter1Change();
    void cbUnits1Change();
    void edImageDistance1Change();
    void cbUnits2Change();
    void edWave1Change();
    void cbUnits3Change();
    void cbUnits4Change();
    void cbConstant1Enter();
    void cbConstant1Change();
    void SetPictures();
    QComboBox *ConstantList(tools::ConstantTarget target) const;
    // What a pick in either constant list does; the two handlers differ only in the list.
    void ConstantListChange(tools::ConstantTarget target);

    // Exposure tab (frmmain_exposure.cpp).
    void WireExposureTab();
    void edFnumber5Change();
    void chbReciprocityClick();
    void cbFilmNameChange();
    void btCalculate5Click();
    void btSaveExposureTimesClick();
    void sgridExposureTimesKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void sgridExposureTimesMouseWheel();
    void sgridExposureTimesEnter();
    void sgridExposureTimesExit();
    void FitExposureGrid();
    void LoadFilmDatabase();
    // Own films (frmmain_films.cpp): read at start-up, kept when the films dialog changes
    // them, and shown in the film list after the shipped films.
    void LoadOwnFilms(const std::string &shippedPath);
    bool StoreOwnFilms(const std::vector<tools::OwnFilm> &films);
    void FillFilmList();
    void ShowReciprocityAvailability();
    void CompleteExposureTimeLabels();
    void ShowFilmListState();
    const tools::TFilmRecord *SelectedFilm() const;
    std::optional<tools::ExposureResult> ComputeExposureTimes();
    void ShowFilmDataError(const QString &message);
    bool savedlgExposureTimesCanClose(const QString &fileName, int filterIndex);
    void ExportExposureTable(const QString &path, int filterIndex,
                             const tools::ExposureResult &result);

    // Angle tab (frmmain_angle.cpp).
    void WireAngleTab();
    void edFormatAChange();
    void edFormatBChange();
    void cbUnitsB1Change();
    void edImageDistance2Change();
    void cbUnits5Change();
    void TabSheet2Show();

    // Magnification tab (frmmain_magnification.cpp).
    void WireMagnificationTab();
    void edObjectdistanceChange();
    void edImageDistance3Change();
    void edObjectSizeChange();
    void cbUnitsC1Change();
    void cbUnits6Change();
    void cbUnitsC2Change();
    void cbUnits7Change();

    // Zone plate tab (frmmain_zoneplate.cpp).
    void WireZonePlateTab();
    void edNumZonesChange();
    void edImageDistance4Change();
    void cbUnits8Change();
    void edWave4Change();
    void cbConstant4Enter();
    void cbConstant4Change();
    void btCalculateClick();
    void btCreateZPClick();
    void sgridZoneplateKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void sgridZoneplateMouseWheel();
    void sgridZoneplateEnter();
    void sgridZoneplateExit();
    // The four inputs of the tab and the focal length as shown; throws when the zone count is
    // no accepted count.
    TZonePlateInputs ZonePlateInputs() const;
    tools::TZonePlateValues CalculateZonePlate() const;
    // The zone count check of both buttons: false after its message has been shown.
    bool ZoneCountAccepted();
    void FitZonePlateGrid();
    // Colour depth of the screen the window is on, in bits per pixel.
    int NumberOfColors() const;

    std::unique_ptr<Ui::TfrmMain> ui;

    // The entry of each constant list to go back to when the user lands on its separator or
    // cancels the user constant dialog.
    int PrevConstantIndex1 = 0;
    int PrevConstantIndexZP = 0;

    // Owned by this window as its parent; null until CreateCustomConstantDialog.
    TFrmCustomConstant *FrmCustomConstant = nullptr;

    // Owned by this window as its parent; null until CreateConvertDialog.
    TFrmConvert *FrmConvert = nullptr;

    // Exposure tab: the loaded film database, the row labels of the table as shown (the
    // unit texts are added at start-up) and the save dialog, which keeps the name and the
    // file type chosen last from one save to the next.
    tools::TFilms m_films;
    std::string m_filmDBVersion;
    bool m_filmDatabaseLoaded = false;
    std::vector<tools::OwnFilm> m_ownFilms;
    std::string m_ownFilmsFolder;
    // The settings folder is the program's, whose films.dat is the shipped database: no own
    // films can be kept there.
    bool m_ownFilmsClash = false;
    // The film list as shown: the shipped films, then the own ones.
    tools::TFilms m_filmList;
    tools::ExposureLabels ExposureTimeLabels = tools::StoredExposureTimeLabels();
    TExposureSaveDialog *savedlgExposureTimes = nullptr;
};
