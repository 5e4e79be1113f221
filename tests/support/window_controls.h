#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QtGlobal>
#include <initializer_list>

// A window's control found by its object name, the name the user's tools see,
// for tests that press or read it as the user would. A name the window does
// not have stops the test at once.
template <typename T> T *control(const QObject &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (found == nullptr)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()),
               T::staticMetaObject.className(), qPrintable(name));
    return found;
}

template <typename T> T *control(const QObject &window, const char *name)
{
    return control<T>(window, QString::fromLatin1(name));
}

// Several controls of one type, in the order named.
template <typename T>
QList<T *> controls(const QObject &window, std::initializer_list<const char *> names)
{
    QList<T *> found;
    for (const char *name : names)
        found << control<T>(window, name);
    return found;
}
