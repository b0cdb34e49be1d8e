// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include "tools/zoneplate.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace Ui {
class TFrmCreateZP;
}

// What the PDF dialog needs of the zone plate tab: the inputs the plate is computed from, and
// the focal length as the user sees it for the document's title and note. The tab's fields
// cannot change while the modal dialog is open, so a copy taken when it opens stays valid.
struct TZonePlateInputs
{
    std::int32_t zoneCount = 0; // odd, 1 to tools::kMaxZones
    double focalMM = 0;
    double wavelengthMM = 0;
    double constant = 0;
    QString focalText; // as typed in the focal length field
    QString unitText;  // as shown in its unit list
};

// Asks for the polarity and the enlargement of the zone plate drawing, refuses a page larger
// than a PDF page may be, asks for the file name and has the PDF (or the same drawing as an
// SVG image) written. Remembers the folder of the last saved plate in the settings value
// LastDirZonePlate.
//
// Below the enlargement it checks the print as the user types: for the printer resolution of
// the field edPrinterDpi (remembered as PrinterDpi when a plate is saved) one line tells the
// plate's size on paper and the width of its outer ring in printer dots, in red when the
// printer cannot draw that ring. The check informs; it never stops a save.
//
// Created for each use and shown modally over the main window (its parent), on which it is
// centred; it deletes itself when it closes.
class TFrmCreateZP : public QDialog
{
    Q_OBJECT

public:
    TFrmCreateZP(const TZonePlateInputs &inputs, QWidget *parent);
    ~TFrmCreateZP() override;

private:
    void FormCreate();
    void chbMagnificationClick();
    void btSaveClick();
    void btCancelClick();
    void UpdatePrintCheck();

    // The file name the user confirmed in the save dialog, completed for the chosen kind of
    // file; empty when cancelled.
    struct Target
    {
        QString name;
        bool svg = false;
    };
    Target RunSaveDialog();
    // Runs when the user confirms a name in the save dialog: asks before a file is replaced.
    // False keeps the save dialog open.
    bool SaveDialogCanClose(const QString &fileName, const QString &nameFilter);
    void WritePlate(const Target &target, bool negative, std::int32_t magnification);
    // The enlargement Save would use, or empty while the factor would be refused.
    std::optional<std::int32_t> Magnification() const;
    void StorePrinterDpi();

    void FocusMagnification();

    std::unique_ptr<Ui::TFrmCreateZP> ui;
    TZonePlateInputs m_inputs;
    tools::TZonePlateValues m_values; // the plate the print check looks at
    std::optional<int> m_storedDpi;   // PrinterDpi as read when the dialog opened
};
