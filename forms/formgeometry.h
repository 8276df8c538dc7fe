#pragma once

class QWidget;

enum class WindowSizing { Sizeable, Fixed };

// Places a window as its form does: the frame's top-left corner at (left, top)
// and a client area of width × height.
void PlaceWindow(QWidget &window, int left, int top, int width, int height, WindowSizing sizing);
