#pragma once
// The tools of the Paint Tools Bar, numbered as the bar numbers them. Pen,
// Fill, Line, Rect, FRect and Dropper work on the view; Drag and Select are
// buttons without a command.

enum class PaintTool { Pen = 0, Fill = 1, Line = 2, Rect = 3, FRect = 4, Dropper = 5, Drag = 6, Select = 7 };
