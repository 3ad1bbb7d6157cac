// The dialog in which a branch is typed ("Новый филиал для - ...") or edited
// ("Редактирование"): address, telephone and e-mail. "Yes" accepts unless the address is
// empty; "No" and closing the window refuse. The caller stores the texts.
#pragma once

#include "filials.h"
#include "recordwindows.h"

#include <memory>

namespace Ui {
class TFormAddFilial;
}

namespace directory {

class TFormAddFilial : public RecordDialog {
    Q_OBJECT
public:
    explicit TFormAddFilial(QWidget* parent = nullptr);
    ~TFormAddFilial() override;

    // Shows the dialog with this caption and these texts; true when "Yes" accepted them.
    bool showFor(const QString& caption, const FilialTexts& t) { return showTexts(caption, t); }
    FilialTexts texts() const { return boxTexts<3>(); }

private:
    std::unique_ptr<Ui::TFormAddFilial> ui;
};

} // namespace directory
