#pragma once
// CColorReductionDialog: "Color Reduction" of Change Color Depth: the target
// format and, for 8 bits, how the palette is made.

#include "editor/ToolParams.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QSpinBox;

class CColorReductionDialog : public QDialog {
    Q_OBJECT

public:
    static const char* const kTargetTexts[5];
    static const char* const kMethodTexts[4];

    CColorReductionDialog(QWidget* parent, const ColourDepthParams& params);

    ColourDepthParams Params() const;

private:
    void EnableFields();

    QButtonGroup* m_targets;
    QButtonGroup* m_methods;
    QSpinBox* m_colours;
    QCheckBox* m_windowsColours;
    QCheckBox* m_diffusion;
};
