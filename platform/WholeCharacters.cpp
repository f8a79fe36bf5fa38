#include "platform/WholeCharacters.h"

#include <QLineEdit>
#include <QValidator>

namespace platform {

namespace {

class WholeCharacters : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        QString kept;
        kept.reserve(input.size());
        int keptPos = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
                kept.append(c);
                kept.append(input.at(++i));
            } else if (c.isSurrogate()) {
                if (i < pos)
                    --keptPos; // the cursor stays after what it was after
            } else {
                kept.append(c);
            }
        }
        if (kept.size() != input.size()) {
            input = kept;
            pos = keptPos;
        }
        return Acceptable;
    }
};

} // namespace

void KeepCharactersWhole(QLineEdit* edit) {
    if (edit && !edit->validator())
        edit->setValidator(new WholeCharacters(edit));
}

} // namespace platform
