#include "forms/FormError.h"

using namespace Qt::StringLiterals;

namespace tivora {

FormError::FormError(const QString& message) : std::runtime_error(message.toStdString()) {}

InvalidPropertyValue::InvalidPropertyValue(const QString& property)
    : PropertyError(u"Invalid property value: "_s + property) {}

}  // namespace tivora
