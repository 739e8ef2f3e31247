#pragma once
// The window layer's controls by name only, for headers that hold pointers to them.

namespace tirmo::ui {
class TextBox;
class TextArea;
class Label;
class ComboBox;
class SimpleComboBox;
class CheckBox;
class CommandButton;
class Line;
class Shape;
class Timer;
class Ticker;
class PictureBox;
}  // namespace tirmo::ui
