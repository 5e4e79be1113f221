#pragma once

#include <QTranslator>

namespace quillory {

// The few texts of Qt's file dialogs that Qt's own translation files leave in
// English in some languages (the Type column's "Folder", "Drive", ...), taken
// from the program's captions instead. Installed beneath Qt's file, it is asked
// only for what that file does not translate.
class QtTextGaps : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText,
                      const char *disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace quillory
