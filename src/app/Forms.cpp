#include "Forms.h"

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "Form4.h"
#include "Form5.h"
#include "Form6.h"
#include "FormError.h"

using namespace Qt::StringLiterals;

namespace tivora {

Forms::Forms(Services& services, AppConfig config)
    : services_(services), config_(std::move(config)) {}

Forms::~Forms() {
    // The main window goes last: side windows may still refer to it while closing.
    // NOLINTNEXTLINE(modernize-loop-convert): clang-tidy 14 cannot read std::views::reverse.
    for (auto form = forms_.rbegin(); form != forms_.rend(); ++form) {
        form->reset();
    }
}

Form& Forms::form(FormId id) {
    auto& slot = forms_.at(static_cast<size_t>(id));
    if (!slot) {
        slot = create(id);
    }
    return *slot;
}

bool Forms::exists(FormId id) const {
    return forms_.at(static_cast<size_t>(id)) != nullptr;
}

std::unique_ptr<Form> Forms::create(FormId id) {
    switch (id) {
        case FormId::Form1:
            return std::make_unique<Form1>(services_, *this, config_.portalRoot, config_.siteRoot,
                                           config_.portalEncoding);
        case FormId::Form2:
            return std::make_unique<Form2>(services_);
        case FormId::Form3:
            return std::make_unique<Form3>(
                services_, *this, config_.portalRoot,
                ContactNumbers{config_.adminQQ, config_.groupQQ1, config_.groupQQ2});
        case FormId::Form4:
            return std::make_unique<Form4>(services_, config_.siteRoot);
        case FormId::Form5:
            return std::make_unique<Form5>(services_, config_.portalRoot);
        case FormId::Form6:
            return std::make_unique<Form6>(services_, *this);
    }
    throw FormError(u"Unknown window"_s);
}

}  // namespace tivora
