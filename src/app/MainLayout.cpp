#include "MainLayout.h"

using namespace Qt::StringLiterals;

namespace tivora::layout {
namespace {

float v(const Target& t, const char16_t* control, Prop prop) {
    return value(t, control, prop);
}

constexpr auto L = Prop::Left;
constexpr auto T = Prop::Top;
constexpr auto Wd = Prop::Width;
constexpr auto Ht = Prop::Height;

// Each formula reads the current values, so earlier steps feed later ones. "/ 2.0F" is an exact
// halving of a single-precision value.
// clang-format off
const Step kSteps[] = {
    {u"WebBrowser2", Wd, [](const Target& t) { return t.outerWidth() + 230.0F; }},
    {u"WebBrowser2", Ht, [](const Target& t) { return t.outerHeight() - 200.0F; }},
    {u"Frameleft", Wd, [](const Target& t) { return t.outerWidth(); }},
    {u"Frameleft", Ht, [](const Target& t) { return t.outerHeight(); }},
    {u"Picture1", Wd, [](const Target& t) { return t.outerWidth(); }},
    {u"Picture1", Ht, [](const Target& t) { return t.outerHeight() - 40.0F; }},
    {u"Image1", Wd, [](const Target& t) { return t.outerWidth(); }},
    {u"Image1", Ht, [](const Target& t) { return t.outerHeight() - 400.0F; }},
    {u"Frameright", L, [](const Target& t) { return t.outerWidth() - v(t, u"Frameright", Wd); }},
    {u"Frameright", Ht, [](const Target& t) { return (t.outerHeight() - 300.0F) * 0.93F; }},
    {u"Picture2", Ht, [](const Target& t) { return v(t, u"Frameright", Ht); }},
    {u"Image2", Ht, [](const Target& t) { return v(t, u"Frameright", Ht); }},
    {u"WebBrowser1", Ht, [](const Target& t) { return v(t, u"Frameright", Ht) - 475.0F; }},
    {u"Framenr", L, [](const Target& t) { return v(t, u"Frameright", L) / 2.0F - v(t, u"Framenr", Wd) / 2.0F; }},
    {u"Framenr", T, [](const Target& t) { return (v(t, u"Frameright", Ht) - v(t, u"Framenr", Ht)) / 2.0F - 300.0F; }},
    {u"Image12", L, [](const Target& t) { return v(t, u"Frameright", L) / 2.0F - v(t, u"Image12", Wd) / 2.0F; }},
    {u"Image12", T, [](const Target& t) { return (v(t, u"Frameright", Ht) - v(t, u"Image12", Ht)) / 2.0F - 300.0F; }},
    {u"Image20", T, [](const Target& t) { return v(t, u"Image12", T) + v(t, u"Image12", Ht) + 300.0F; }},
    {u"Image27", T, [](const Target& t) { return v(t, u"Image20", T); }},
    {u"Image28", T, [](const Target& t) { return v(t, u"Image20", T); }},
    {u"Image20", L, [](const Target& t) { return (v(t, u"Image12", Wd) - v(t, u"Image20", Wd)) / 2.0F + v(t, u"Image12", L); }},
    {u"Image27", L, [](const Target& t) { return v(t, u"Image20", L) - v(t, u"Image27", Wd) - 50.0F; }},
    {u"Image28", L, [](const Target& t) { return v(t, u"Image20", L) + v(t, u"Image20", Wd) + 50.0F; }},
    {u"Image21", T, [](const Target& t) { return v(t, u"Framenr", T) + v(t, u"Framenr", Ht) + 100.0F; }},
    {u"Image22", T, [](const Target& t) { return v(t, u"Image21", T); }},
    {u"Image23", T, [](const Target& t) { return v(t, u"Image21", T); }},
    {u"Image24", T, [](const Target& t) { return v(t, u"Image21", T); }},
    {u"Image25", T, [](const Target& t) { return v(t, u"Image21", T); }},
    {u"Image26", T, [](const Target& t) { return v(t, u"Image21", T); }},
    {u"Image24", L, [](const Target& t) { return v(t, u"Framenr", Wd) / 2.0F + v(t, u"Framenr", L) - v(t, u"Image24", Wd); }},
    {u"Image23", L, [](const Target& t) { return v(t, u"Image24", L) - 550.0F; }},
    {u"Image21", L, [](const Target& t) { return v(t, u"Image23", L) - 550.0F; }},
    {u"Image22", L, [](const Target& t) { return v(t, u"Image24", L) + 550.0F; }},
    {u"Image25", L, [](const Target& t) { return v(t, u"Image22", L) + 550.0F; }},
    {u"Image26", L, [](const Target& t) { return v(t, u"Image25", L) + 550.0F; }},
    {u"Picture3", Wd, [](const Target& t) { return t.outerWidth() - 3500.0F; }},
    {u"Picture3", L, [](const Target& t) { return t.outerWidth() / 2.0F - v(t, u"Picture3", Wd) / 2.0F; }},
    {u"Image13", Wd, [](const Target& t) { return v(t, u"Picture3", Wd); }},
    {u"Picture3", T, [](const Target& t) { return t.outerHeight() - v(t, u"Picture3", Ht) - 580.0F; }},
    {u"Image19", L, [](const Target& t) { return v(t, u"Picture3", Wd) - v(t, u"Image19", Wd); }},
};
// clang-format on

}  // namespace

void layOutMainWindow(Target& target) {
    applySkippingFailures(target, kSteps);
}

}  // namespace tivora::layout
