#pragma once

#include <QString>

#include <stdexcept>

namespace tivora {

// A failure raised by a control or window operation; handlers let it escape to the dispatch
// wrapper.
class FormError : public std::runtime_error {
public:
    explicit FormError(const QString& message);
    [[nodiscard]] QString message() const { return QString::fromUtf8(what()); }
};

// A property write refused: a value it cannot take, or a state of the window that forbids it.
// Layout steps skip these; every other failure (a misspelled control name) escapes.
class PropertyError : public FormError {
public:
    using FormError::FormError;
};

// Writing a value a property cannot take, such as a negative size.
class InvalidPropertyValue final : public PropertyError {
public:
    explicit InvalidPropertyValue(const QString& property);
};

}  // namespace tivora
