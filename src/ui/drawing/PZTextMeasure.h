#pragma once

class QLabel;
class QTextEdit;

// The height a label's text needs at the label's current width (wrapped when the
// label wraps).
double pz_textHeight(const QLabel &label);
// The height of a text edit's text laid out at a width with no height limit; 0 when
// it holds no text.
double pz_textHeightWithWidth(const QTextEdit &edit, double width);
