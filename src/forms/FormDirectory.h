#pragma once

namespace tivora {

class Form;

enum class FormId { Form1, Form2, Form3, Form4, Form5, Form6 };

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
