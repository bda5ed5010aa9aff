#pragma once
// COutputOptionsDialog: the Export dialog: the layout (one strip, or one
// file per frame), the encoding ("Output Options": uncompressed, a sprite
// codec, JPEG, or PNG for other programs), the JPEG quality (90 unless
// chosen otherwise) and the "Alpha" reference of a TRLE strip. Encodings
// the frames' depth cannot take are disabled, with the reason beside them.

#include "editor/SpriteExport.h"
#include "imaging/PixelFormat.h"

#include <QDialog>

class IEditorHost;
class QAbstractButton;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

class COutputOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // The radio buttons' texts, by encoding.
    static const char* const kChoiceTexts[7];
    static constexpr const char* kStripText = "Single DIB Strip";
    static constexpr const char* kSequenceText = "DIB Sequence (one file per frame)";

    COutputOptionsDialog(QWidget* parent, IEditorHost& host, const ExportOptions& options, ExportLayout layout,
                         PixelFormat frameFormat);

    ExportOptions Options() const;
    ExportLayout Layout() const;
    QAbstractButton* ChoiceButton(ExportEncoding encoding) const;
    // Why an encoding cannot be chosen for these frames; empty when it can.
    QString Reason(ExportEncoding encoding) const;
    QSpinBox* QualityBox() const { return m_quality; }
    QLineEdit* AlphaEdit() const { return m_alpha; }
    // The save dialog's filter for an encoding's files.
    static QString FileFilter(ExportEncoding encoding);

private:
    void BrowseAlpha();
    void EnableFields();

    IEditorHost& m_host;
    PixelFormat m_format;
    QButtonGroup* m_layouts;
    QButtonGroup* m_choices;
    QLabel* m_reasons[7] = {};
    QSpinBox* m_quality;
    QLineEdit* m_alpha;
    QToolButton* m_browse;
};
