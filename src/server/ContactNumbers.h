#pragma once

#include <QString>

namespace tivora {

// Who users can reach when the server cannot be: the administrator and two user groups.
struct ContactNumbers {
    QString admin = {};
    QString group1 = {};
    QString group2 = {};
};

}  // namespace tivora
