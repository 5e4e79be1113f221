#pragma once

// A window's control found by its object name, the name the user interface
// gives it, so tests reach what a user sees without the window exposing its
// members. A control that is not there ends the run with its name.

#include <QObject>
#include <QString>

namespace quillory::test {

template <class T> T *partNamed(const QObject &window, const QString &name)
{
    T *part = window.findChild<T *>(name);
    if (!part)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()),
               T::staticMetaObject.className(), qPrintable(name));
    return part;
}

} // namespace quillory::test
