#include "PlayerLayout.h"

#include <exception>
#include <span>

using namespace Qt::StringLiterals;

namespace tivora::playerlayout {
namespace {

using layout::Step;

float v(const Target& t, const char16_t* control, Prop prop) {
    return layout::value(t, control, prop);
}

constexpr auto L = Prop::Left;
constexpr auto T = Prop::Top;
constexpr auto Wd = Prop::Width;
constexpr auto Ht = Prop::Height;

// Right of the list pane, or of the video while the list is hidden.
constexpr float kRightMargin = 80.0F;

// clang-format off
const Step kBannerSteps[] = {
    {u"Picture1", Wd, [](const Target& t) { return v(t, u"Label1", Wd) + 200.0F; }},
    {u"Picture1", L, [](const Target& t) { return (t.outerWidth() - v(t, u"Picture1", Wd)) / 2.0F; }},
    {u"Label1", L, [](const Target& t) { return (v(t, u"Picture1", Wd) - v(t, u"Label1", Wd)) / 2.0F; }},
    // The banner's lower edge, not its middle, lies at half the outer height.
    {u"Picture1", T, [](const Target& t) { return t.outerHeight() / 2.0F - v(t, u"Picture1", Ht); }},
};

const Step kPaneSteps[] = {
    {u"QvodCtrl1", Wd, [](const Target& t) { return t.outerWidth() - v(t, u"Frame1", Wd) - kRightMargin; }},
    {u"QvodCtrl1", Ht, [](const Target& t) { return t.outerHeight() - 500.0F; }},
    {u"Frame1", L, [](const Target& t) { return t.outerWidth() - v(t, u"Frame1", Wd) - kRightMargin; }},
    {u"Frame1", Ht, [](const Target& t) { return v(t, u"QvodCtrl1", Ht) + 100.0F; }},
    {u"File1", Ht, [](const Target& t) { return v(t, u"Frame1", Ht) - v(t, u"Command1", Ht); }},
    {u"Command1", T, [](const Target& t) { return v(t, u"File1", Ht); }},
    {u"Command2", T, [](const Target& t) { return v(t, u"Command1", T); }},
};
// clang-format on

}  // namespace

void layOutPlayerWindow(Target& target) {
    layout::applySkippingFailures(target, kPaneSteps);
    try {
        target.setVisible(u"Frame1"_s, true);
    } catch (const std::exception&) {
        // Skipped like any other step.
    }
    layout::applySkippingFailures(target, kBannerSteps);
}

void placeBanner(Target& target) {
    for (const Step& step : kBannerSteps) {
        layout::apply(target, step);
    }
}

void hideList(Target& target) {
    target.set(u"QvodCtrl1"_s, Wd, target.outerWidth() - kRightMargin);
    target.setVisible(u"Frame1"_s, false);
}

}  // namespace tivora::playerlayout
