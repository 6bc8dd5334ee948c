// Presenting the frame: the pane image from the display state, the menu bar and its open
// drop-down, the status line and a modal box on top.
#include "display/sdl/WindowBackend.hpp"

#include <algorithm>

namespace tarnova::sdl {

namespace {

constexpr SDL_Color barColour{240, 240, 240, 255};
constexpr SDL_Color lineColour{160, 160, 160, 255};
constexpr SDL_Color textColour{0, 0, 0, 255};
constexpr SDL_Color grayedColour{128, 128, 128, 255};
constexpr SDL_Color highlightColour{51, 102, 204, 255};
constexpr SDL_Color highlightTextColour{255, 255, 255, 255};
constexpr SDL_Color dropDownColour{252, 252, 252, 255};
constexpr SDL_Color surroundColour{64, 64, 64, 255};

constexpr std::string_view endedStatusText = "Program ended";
constexpr int topItemPadding = 8;
constexpr int checkMargin = 22;
constexpr int shortcutGap = 24;
constexpr int captionHeight = 24;
constexpr int buttonWidth = 80;
constexpr int buttonHeight = 26;
constexpr int boxPadding = 16;

// Splits the text at line ends and wraps it between words to at most maxWidth pixels.
std::vector<std::string> wrapText(TextRenderer& text, const std::string& source, int maxWidth)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        std::string paragraph = source.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        std::string line;
        std::size_t at = 0;
        while (at < paragraph.size()) {
            std::size_t wordEnd = paragraph.find(' ', at);
            if (wordEnd == std::string::npos) wordEnd = paragraph.size();
            const std::string word = paragraph.substr(at, wordEnd - at);
            const std::string joined = line.empty() ? word : line + ' ' + word;
            if (!line.empty() && text.width(joined) > maxWidth) {
                lines.push_back(line);
                line = word;
            } else {
                line = joined;
            }
            at = wordEnd + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

void WindowBackend::outputSize(int& w, int& h) const
{
    if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0) SDL_GetWindowSize(window_, &w, &h);
}

// Copies what the program has changed out of the display state, under the display lock.
bool WindowBackend::pullState()
{
    DisplayState& state = displayState();
    std::lock_guard lock(state.mutex);
    if (state.generation == shownGeneration_) return false;
    shownGeneration_ = state.generation;
    if (state.paneWidth != paneWidth_ || state.paneHeight != paneHeight_) {
        if (paneTexture_ != nullptr) SDL_DestroyTexture(paneTexture_);
        paneWidth_ = std::max(state.paneWidth, 1);
        paneHeight_ = std::max(state.paneHeight, 1);
        paneTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                         paneWidth_, paneHeight_);
        argb_.assign(static_cast<std::size_t>(paneWidth_) * paneHeight_, 0xFF000000u);
    }
    for (std::size_t i = 0; i < colours_.size(); ++i) {
        const std::uint32_t c = state.palette[i];  // 0x00BBGGRR
        colours_[i] = 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
    }
    if (state.pixels.size() >= argb_.size())
        std::transform(state.pixels.begin(), state.pixels.begin() + static_cast<std::ptrdiff_t>(argb_.size()),
                       argb_.begin(), [&](std::uint8_t index) { return colours_[index]; });
    menu_ = state.menuBar;
    if (state.programEnded || showEnded_) {
        // A frame left open after the end says so even when the program set no text for it.
        status_ = state.statusTexts[3].empty() ? std::string(endedStatusText) : state.statusTexts[3];
    } else {
        status_ = state.statusTexts[5];
    }
    if (state.title != title_) {
        title_ = state.title;
        SDL_SetWindowTitle(window_, title_.c_str());
    }
    if (openMenu_ >= static_cast<int>(menu_.size())) closeMenu();
    return true;
}

bool WindowBackend::needsPresent()
{
    if (frameDirty_) return true;
    DisplayState& state = displayState();
    std::lock_guard lock(state.mutex);
    return state.generation != shownGeneration_;
}

void WindowBackend::present()
{
    if (pullState() && paneTexture_ != nullptr)
        SDL_UpdateTexture(paneTexture_, nullptr, argb_.data(), paneWidth_ * 4);
    int w = 0, h = 0;
    outputSize(w, h);
    SDL_SetRenderDrawColor(renderer_, surroundColour.r, surroundColour.g, surroundColour.b, 255);
    SDL_RenderClear(renderer_);
    // A frame smaller than the pane shows part of it 1:1, with scroll bars.
    const PaneView view = paneView(w, h, paneWidth_, paneHeight_, scrollX_, scrollY_);
    const SDL_Rect target{view.shown.x, view.shown.y, view.shown.w, view.shown.h};
    const SDL_Rect source{view.source.x, view.source.y, view.source.w, view.source.h};
    if (paneTexture_ != nullptr && view.shown.w > 0 && view.shown.h > 0)
        SDL_RenderCopy(renderer_, paneTexture_, &source, &target);
    drawScrollBars(view);
    drawMenuBar(w);
    drawStatusLine(w, h);
    if (!dropItems(openMenu_).empty()) drawDropDown();
    if (const Box* box = shownBox()) drawBox(*box);
    SDL_RenderPresent(renderer_);
    frameDirty_ = false;
    nextPresent_ = SDL_GetTicks() + frameInterval_;
}

PaneView WindowBackend::currentView()
{
    int w = 0, h = 0;
    outputSize(w, h);
    return paneView(w, h, paneWidth_, paneHeight_, scrollX_, scrollY_);
}

void WindowBackend::drawScrollBars(const PaneView& view)
{
    if (view.horizontalBar.w > 0) {
        fill(view.horizontalBar, barColour);
        fill(scrollThumb(view.horizontalBar, true, view.source.x, view.source.w, paneWidth_), lineColour);
    }
    if (view.verticalBar.h > 0) {
        fill(view.verticalBar, barColour);
        fill(scrollThumb(view.verticalBar, false, view.source.y, view.source.h, paneHeight_), lineColour);
    }
}

void WindowBackend::fill(const Rect& r, SDL_Color colour)
{
    SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, 255);
    const SDL_Rect rect{r.x, r.y, r.w, r.h};
    SDL_RenderFillRect(renderer_, &rect);
}

void WindowBackend::frame(const Rect& r, SDL_Color colour)
{
    SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, 255);
    const SDL_Rect rect{r.x, r.y, r.w, r.h};
    SDL_RenderDrawRect(renderer_, &rect);
}

// The label with its access letter underlined.
void WindowBackend::drawLabel(const MenuLabel& label, int x, int y, SDL_Color colour)
{
    text_.draw(renderer_, label.label, x, y, colour);
    if (label.accessIndex < 0) return;
    const int from = x + text_.width(std::string_view(label.label).substr(0, label.accessIndex));
    const int width = text_.width(std::string_view(label.label).substr(label.accessIndex, 1));
    fill({from, y + text_.lineHeight() - 2, width, 1}, colour);
}

Rect WindowBackend::topItemRect(int index)
{
    int x = 4;
    for (int i = 0; i < static_cast<int>(menu_.size()); ++i) {
        const int w = text_.width(parseMenuLabel(menu_[i].text).label) + 2 * topItemPadding;
        if (i == index) return {x, 0, w, menuBarHeight};
        x += w;
    }
    return {};
}

Rect WindowBackend::dropDownRect()
{
    if (openMenu_ < 0) return {};
    int labels = 0, shortcuts = 0;
    const auto items = dropItems(openMenu_);
    for (const MenuEntry* item : items) {
        const MenuLabel label = parseMenuLabel(item->text);
        labels = std::max(labels, text_.width(label.label));
        if (!label.shortcut.empty()) shortcuts = std::max(shortcuts, shortcutGap + text_.width(label.shortcut));
    }
    int w = 0, h = 0;
    outputSize(w, h);
    Rect r{topItemRect(openMenu_).x, menuBarHeight, checkMargin + labels + shortcuts + 2 * topItemPadding,
           static_cast<int>(items.size()) * dropItemHeight + 2 * dropBorder};
    r.x = std::max(0, std::min(r.x, w - r.w));
    return r;
}

Rect WindowBackend::dropItemRect(int item)
{
    const Rect r = dropDownRect();
    return {r.x + dropBorder, r.y + dropBorder + item * dropItemHeight, r.w - 2 * dropBorder, dropItemHeight};
}

void WindowBackend::drawMenuBar(int w)
{
    fill({0, 0, w, menuBarHeight}, barColour);
    fill({0, menuBarHeight - 1, w, 1}, lineColour);
    const int textY = (menuBarHeight - text_.lineHeight()) / 2;
    for (int i = 0; i < static_cast<int>(menu_.size()); ++i) {
        const Rect r = topItemRect(i);
        const MenuLabel label = parseMenuLabel(menu_[i].text);
        SDL_Color colour = (menu_[i].flags & 1) != 0 ? grayedColour : textColour;
        if (i == openMenu_) {
            fill({r.x, r.y, r.w, r.h - 1}, highlightColour);
            colour = highlightTextColour;
        }
        drawLabel(label, r.x + topItemPadding, textY, colour);
    }
}

void WindowBackend::drawDropDown()
{
    const Rect r = dropDownRect();
    fill(r, dropDownColour);
    frame(r, lineColour);
    const auto items = dropItems(openMenu_);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const Rect item = dropItemRect(i);
        const MenuLabel label = parseMenuLabel(items[i]->text);
        SDL_Color colour = (items[i]->flags & 1) != 0 ? grayedColour : textColour;
        if (i == highlight_) {
            fill(item, highlightColour);
            colour = highlightTextColour;
        }
        const int textY = item.y + (dropItemHeight - text_.lineHeight()) / 2;
        if ((items[i]->flags & 16) != 0) {
            // A check mark drawn as two strokes.
            SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, 255);
            const int cx = item.x + 6, cy = item.y + dropItemHeight / 2;
            for (int t = 0; t < 2; ++t) {
                SDL_RenderDrawLine(renderer_, cx, cy + t, cx + 3, cy + 3 + t);
                SDL_RenderDrawLine(renderer_, cx + 3, cy + 3 + t, cx + 9, cy - 3 + t);
            }
        }
        drawLabel(label, item.x + checkMargin, textY, colour);
        if (!label.shortcut.empty())
            text_.draw(renderer_, label.shortcut,
                       item.x + item.w - topItemPadding - text_.width(label.shortcut), textY, colour);
    }
}

void WindowBackend::drawStatusLine(int w, int h)
{
    const Rect r{0, h - statusLineHeight, w, statusLineHeight};
    fill(r, barColour);
    fill({0, r.y, w, 1}, lineColour);
    const std::string shown =
        fitWithEllipsis(status_, w - 12, [this](std::string_view text) { return text_.width(text); });
    text_.draw(renderer_, shown, 6, r.y + (statusLineHeight - text_.lineHeight()) / 2 + 1, textColour);
}

WindowBackend::BoxLayout WindowBackend::layoutBox(const Box& box)
{
    int w = 0, h = 0;
    outputSize(w, h);
    BoxLayout layout;
    layout.lines = wrapText(text_, box.text, std::max(w - 6 * boxPadding, 100));
    int width = std::max(200, text_.width(box.caption) + 2 * boxPadding);
    for (const std::string& line : layout.lines) width = std::max(width, text_.width(line) + 2 * boxPadding);
    width = std::min(width, std::max(w - 2 * boxPadding, 100));
    const int lineHeight = std::max(text_.lineHeight(), 1);
    const int height = captionHeight + boxPadding + static_cast<int>(layout.lines.size()) * lineHeight +
                       boxPadding + buttonHeight + boxPadding;
    layout.outer = {(w - width) / 2, (h - height) / 2, width, height};
    layout.caption = {layout.outer.x, layout.outer.y, width, captionHeight};
    const int buttonY = layout.outer.y + height - boxPadding - buttonHeight;
    if (box.askToClose) {
        layout.ok = {layout.outer.x + width / 2 - buttonWidth - boxPadding / 2, buttonY, buttonWidth, buttonHeight};
        layout.no = {layout.outer.x + width / 2 + boxPadding / 2, buttonY, buttonWidth, buttonHeight};
    } else {
        layout.ok = {layout.outer.x + (width - buttonWidth) / 2, buttonY, buttonWidth, buttonHeight};
    }
    return layout;
}

void WindowBackend::drawBox(const Box& box)
{
    const BoxLayout layout = layoutBox(box);
    fill(layout.outer, barColour);
    frame(layout.outer, textColour);
    fill(layout.caption, highlightColour);
    const int lineHeight = text_.lineHeight();
    text_.draw(renderer_, box.caption, layout.caption.x + 8, layout.caption.y + (captionHeight - lineHeight) / 2,
               highlightTextColour);
    int y = layout.caption.y + captionHeight + boxPadding;
    for (const std::string& line : layout.lines) {
        text_.draw(renderer_, line, layout.outer.x + boxPadding, y, textColour);
        y += lineHeight;
    }
    auto button = [&](const Rect& r, const char* label) {
        fill(r, dropDownColour);
        frame(r, textColour);
        text_.draw(renderer_, label, r.x + (r.w - text_.width(label)) / 2, r.y + (r.h - lineHeight) / 2,
                   textColour);
    };
    button(layout.ok, box.askToClose ? "Yes" : "OK");
    if (box.askToClose) button(layout.no, "No");
}

} // namespace tarnova::sdl
