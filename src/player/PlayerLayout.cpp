#include "PlayerLayout.h"

#include "PlayerWindowControls.h"

#include <span>

using namespace Qt::StringLiterals;

namespace tivora::playerlayout {
namespace {

using layout::Step;

float v(const Target& t, QStringView control, Prop prop) {
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
    {form6::kBanner, Wd, [](const Target& t) { return v(t, form6::kBannerLabel, Wd) + 200.0F; }},
    {form6::kBanner, L, [](const Target& t) { return (t.outerWidth() - v(t, form6::kBanner, Wd)) / 2.0F; }},
    {form6::kBannerLabel, L, [](const Target& t) { return (v(t, form6::kBanner, Wd) - v(t, form6::kBannerLabel, Wd)) / 2.0F; }},
    // The banner's lower edge, not its middle, lies at half the outer height.
    {form6::kBanner, T, [](const Target& t) { return t.outerHeight() / 2.0F - v(t, form6::kBanner, Ht); }},
};

const Step kPaneSteps[] = {
    {form6::kPlayer, Wd, [](const Target& t) { return t.outerWidth() - v(t, form6::kListFrame, Wd) - kRightMargin; }},
    {form6::kPlayer, Ht, [](const Target& t) { return t.outerHeight() - 500.0F; }},
    {form6::kListFrame, L, [](const Target& t) { return t.outerWidth() - v(t, form6::kListFrame, Wd) - kRightMargin; }},
    {form6::kListFrame, Ht, [](const Target& t) { return v(t, form6::kPlayer, Ht) + 100.0F; }},
    {form6::kFileList, Ht, [](const Target& t) { return v(t, form6::kListFrame, Ht) - v(t, form6::kOpenButton, Ht); }},
    {form6::kOpenButton, T, [](const Target& t) { return v(t, form6::kFileList, Ht); }},
    {form6::kHideListButton, T, [](const Target& t) { return v(t, form6::kOpenButton, T); }},
};
// clang-format on

}  // namespace

void layOutPlayerWindow(Target& target) {
    layout::applySkippingFailures(target, kPaneSteps);
    layout::runSkippingFailures({[&] { target.setVisible(form6::kListFrame, true); }});
    layout::applySkippingFailures(target, kBannerSteps);
}

void placeBanner(Target& target) {
    for (const Step& step : kBannerSteps) {
        layout::apply(target, step);
    }
}

void hideList(Target& target) {
    target.set(form6::kPlayer, Wd, target.outerWidth() - kRightMargin);
    target.setVisible(form6::kListFrame, false);
}

}  // namespace tivora::playerlayout
