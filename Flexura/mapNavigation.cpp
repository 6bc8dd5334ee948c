#include "mapNavigation.hpp"

#include "fkey.hpp"

#include <algorithm>

namespace tarnova::flexura {

Action applyKey(ViewState& view, const CaseData& data, int character, int code)
{
    MapView& m = view.map;
    const int studies = static_cast<int>(data.studies.size());
    const int elements = data.elementCount();
    const MapView before = m;
    const Screen screenBefore = view.screen;

    if (character != 0) {
        switch (character) {
        case fkey::tab:
            view.screen = view.screen == Screen::chart ? Screen::map
                          : view.screen == Screen::map && data.assessment.present() ? Screen::interaction
                                                                                     : Screen::chart;
            break;
        case fkey::enter:
            if (view.screen != Screen::map) {
                view.screen = Screen::map;
                break;
            }
            return m.selected >= 0 ? Action::openCurvella : Action::noElement;
        case 'u':
        case 'U': m.step = data.studies[static_cast<std::size_t>(m.study)].ultimateStep; break;
        default: return Action::none;
        }
    } else {
        switch (code) {
        case fkey::left: m.step = std::max(1, m.step - 1); break;
        case fkey::right: m.step = std::min(stepCount, m.step + 1); break;
        case fkey::home: m.step = 1; break;
        case fkey::end: m.step = stepCount; break;
        case fkey::pageUp: m.study = std::max(0, m.study - 1); break;
        case fkey::pageDown: m.study = std::min(studies - 1, m.study + 1); break;
        case fkey::down: m.selected = m.selected < 0 ? 0 : std::min(elements - 1, m.selected + 1); break;
        case fkey::up: m.selected = m.selected < 0 ? elements - 1 : std::max(0, m.selected - 1); break;
        case saveKeyCode: return Action::save;
        case exitKeyCode: return Action::exit;
        default: return Action::none;
        }
    }
    const bool changed = view.screen != screenBefore || m.step != before.step || m.study != before.study ||
                         m.selected != before.selected;
    // The chart shows every case study at once: only the map follows steps and elements.
    if (!changed || (view.screen != Screen::map && screenBefore == view.screen)) return Action::none;
    return Action::redraw;
}

Action applyClick(ViewState& view, const CaseData& data, const MapLayout& layout, int x, int y, bool doubleClick)
{
    if (view.screen != Screen::map) return Action::none;
    const int element = elementAt(data, layout, x, y);
    if (element < 0) return Action::none;
    const bool changed = element != view.map.selected;
    view.map.selected = element;
    if (doubleClick) return Action::openCurvella;
    return changed ? Action::redraw : Action::none;
}

} // namespace tarnova::flexura
