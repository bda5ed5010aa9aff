#pragma once
// The tool bar's icons and the paint tools' cursors, drawn by the program
// itself (no image files to install or to find at run time).

#include "kvfedit/EditorCommand.h"
#include "kvfedit/PaintTool.h"

#include <QCursor>
#include <QIcon>

// A null icon for commands that have none.
QIcon CommandIcon(EditorCommand command);
QCursor ToolCursor(PaintTool tool);
