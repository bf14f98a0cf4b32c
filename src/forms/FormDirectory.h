#pragma once

namespace tivora {

class Form;

enum class FormId { Main, About, ServerConnection, Help, Update, Player };

// Where windows find each other. A window object is created the first time it is asked for and
// lives until the program ends.
class FormDirectory {
public:
    FormDirectory() = default;
    virtual ~FormDirectory();
    FormDirectory(const FormDirectory&) = delete;
    FormDirectory& operator=(const FormDirectory&) = delete;

    [[nodiscard]] virtual Form& form(FormId id) = 0;
    [[nodiscard]] virtual bool exists(FormId id) const = 0;
};

}  // namespace tivora
