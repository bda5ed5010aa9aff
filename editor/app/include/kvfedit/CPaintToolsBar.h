#pragma once
// CPaintToolsBar: the contents of the dockable "Paint Tools Bar": the tool
// buttons, the foreground and background swatches, the R, G and B fields
// and three text lines the view writes its read-outs to.

#include "editor/EditorTypes.h"
#include "kvfedit/CColourSwatches.h"
#include "kvfedit/PaintTool.h"

#include <QWidget>

class IEditorHost;
class QAbstractButton;
class QButtonGroup;
class QLabel;
class QLineEdit;

class CPaintToolsBar : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Paint Tools Bar";
    static const char* const kToolTexts[8];
    // Each tool's one-key shortcut and what its tool tip says it does.
    static const char kToolKeys[8];
    static const char* const kToolTips[8];

    CPaintToolsBar(IEditorHost& host, QWidget* parent = nullptr);

    PaintTool Tool() const;
    void SetTool(PaintTool tool);
    QAbstractButton* ToolButton(PaintTool tool) const;

    // The colour the swatch shows: what painting the current frame gives.
    QColor Colour(Swatch swatch) const { return m_swatches->Colour(swatch); }
    // The colour the user chose, with the palette entry it was picked as (if
    // any). It stays what it was when a frame of fewer colours shows another.
    EditorColour EditorColourOf(Swatch swatch) const;
    // Chooses the swatch's colour, shows it and its components in the fields;
    // `index` is the palette entry it stands for, -1 for none.
    void SetColour(Swatch swatch, const QColor& colour, int index = -1);
    // Shows `colour` in the swatch (the chosen colour as the current frame
    // paints it) without changing the choice.
    void ShowPaintedColour(Swatch swatch, const QColor& colour);
    CColourSwatches* Swatches() const { return m_swatches; }

    // The R, G and B fields: a colour's components ("%d"), or "--".
    void ShowComponents(const QColor& colour);
    void ShowNoComponents();
    QString ComponentText(int channel) const;

    // The three text lines: a position "%d,%d" in the first with the others
    // cleared, or all cleared.
    void ShowPosition(int x, int y);
    void ClearLines();
    QString LineText(int line) const;

signals:
    void ToolChanged(PaintTool tool);
    // A swatch's colour was chosen (by the user or the program).
    void ColourChosen();

private:
    void PickColour(Swatch swatch);

    IEditorHost& m_host;
    QButtonGroup* m_tools;
    CColourSwatches* m_swatches;
    QLineEdit* m_components[3];
    QLabel* m_lines[3];
    EditorColour m_chosen[2]; // foreground, background
};
