#pragma once

// The product's fixed facts: its name, its version (from the build) and the
// addresses it opens. Change them here and nowhere else.

#include "platform/product_version.h"

#include <QString>

namespace quillory::product {

inline QString name()
{
    return QStringLiteral("Quillory");
}

// The home page, without a trailing "/"; the update and donation pages live under it.
inline QString homePage()
{
    return QStringLiteral("https://quillory.org");
}

inline QString updatePage()
{
    return homePage() + QStringLiteral("/");
}

inline QString donationPage()
{
    return homePage() + QStringLiteral("/donazioni.html");
}

// Receives the translations sent from the translation page.
inline QString maintainerAddress()
{
    return QStringLiteral("translations@quillory.org");
}

// The authors' credit line of the about box.
inline QString credits()
{
    return QStringLiteral("Quillory contributors");
}

constexpr int versionMajor = QUILLORY_VERSION_MAJOR;
constexpr int versionMinor = QUILLORY_VERSION_MINOR;
constexpr int versionRevision = QUILLORY_VERSION_PATCH;

// "Rel. 1.0.12" for version 1, minor 0, revision 12.
inline QString releaseText()
{
    return QStringLiteral("Rel. %1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
}

} // namespace quillory::product
