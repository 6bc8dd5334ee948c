#pragma once
// The calculator's screen: messages in the text rows 21 to 24 and the progress panel at the right
// edge of the graphics pane.

#include "Calcrun/Calcrun.hpp"
#include "display/Display.hpp"

#include <initializer_list>
#include <string_view>

namespace tarnova {

// Waits for one key, the acknowledgement of a message or of a full panel. Without a screen (the
// headless display) there is nothing to acknowledge and nothing is read: a batch run with its
// input closed must run every case study, however many page breaks its panel has.
void acknowledge();

// One line of a message: its row and column inside the message window, and its text.
struct MessageLine {
    int row;
    int column;
    std::string_view text;
};

// Shows the lines in text colour 5 on background 0 in the window of rows 21 to 24 and the given
// columns, waits for one key, clears that window and restores the previous text window and
// colours. Every line also goes to standard error, so that the reason a run ended outlives the
// window.
void showMessage(int leftColumn, int rightColumn, std::initializer_list<MessageLine> lines);

// A directory message: in the window of rows 21 to 24 and columns leftColumn to 55, `text` and
// then `prompt` written one after the other from the window's first position, the text layer
// going on to the next row at the window's right edge; then as showMessage.
void showShortMessage(int leftColumn, std::string_view text, std::string_view prompt);

// The progress panel: a head box with the starting hour, then a box per case study going down
// the right edge of the pane, and the iteration box of the collapse engine.
class ProgressPanel : public CollapseProgress {
public:
    ProgressPanel(int paneWidth, int paneHeight) : paneWidth_(paneWidth), paneHeight_(paneHeight) {}

    void drawHead(const TimeOfDay& start);
    // Moves to the next box position; when the pane is full, waits for a key with
    // "Press any key to continue " at the foot of the pane and starts again at the top.
    void advance();
    // The box of case study k with its finishing time; erases the iteration box.
    void drawCase(int caseStudy, const TimeOfDay& end);

    void boxStarted() override;
    void stepShown(int step) override;

private:
    void drawBox(int top);

    int paneWidth_;
    int paneHeight_;
    int panelTop_ = 20;
};

} // namespace tarnova
