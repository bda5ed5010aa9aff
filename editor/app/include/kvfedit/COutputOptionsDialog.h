#pragma once
// COutputOptionsDialog: "Output Options" of Export: how the frames are
// encoded, the JPEG quality and the "Alpha" reference of a TRLE strip.

#include "editor/SpriteExport.h"

#include <QDialog>

class IEditorHost;
class QButtonGroup;
class QLineEdit;
class QSpinBox;
class QToolButton;

class COutputOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // The radio buttons' texts, by choice index.
    static const char* const kChoiceTexts[6];

    COutputOptionsDialog(QWidget* parent, IEditorHost& host, const ExportOptions& options);

    ExportOptions Options() const;
    QSpinBox* QualityBox() const { return m_quality; }
    QLineEdit* AlphaEdit() const { return m_alpha; }

private:
    void BrowseAlpha();
    void EnableFields();

    IEditorHost& m_host;
    QButtonGroup* m_choices;
    QSpinBox* m_quality;
    QLineEdit* m_alpha;
    QToolButton* m_browse;
};
