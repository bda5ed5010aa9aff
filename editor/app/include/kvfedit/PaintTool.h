#pragma once
// The tools of the Paint Tools Bar, numbered as the bar numbers them. Line,
// Rect and FRect can be chosen but do not draw yet; Drag and Select are
// buttons without a command.

enum class PaintTool { Pen = 0, Fill = 1, Line = 2, Rect = 3, FRect = 4, Dropper = 5, Drag = 6, Select = 7 };
