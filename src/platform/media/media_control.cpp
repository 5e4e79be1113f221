#include "media_control.h"

#include <QStringList>
#include <QVarLengthArray>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace quillory {

namespace {

// Copies `text` as UTF-8 into a C buffer of `length` bytes, always NUL-terminated
// and never split inside a multi-byte character.
void copyToBuffer(const QString &text, char *buffer, int length)
{
    if (buffer == nullptr || length <= 0)
        return;
    QByteArray utf8 = text.toUtf8();
    int n = std::min<int>(utf8.size(), length - 1);
    while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80)
        --n; // do not cut a character in half
    std::memcpy(buffer, utf8.constData(), static_cast<size_t>(n));
    buffer[n] = '\0';
}

// Parses a millisecond count written as plain decimal digits.
bool parseMilliseconds(QStringView text, std::int64_t *out, MediaError *error)
{
    if (text.isEmpty()) {
        *error = MediaError::MissingParameter;
        return false;
    }
    std::int64_t value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            *error = MediaError::OutOfRange;
            return false;
        }
        if (value > (INT64_MAX - 9) / 10) {
            *error = MediaError::ParameterOverflow;
            return false;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    *out = value;
    return true;
}

} // namespace

MediaControl::MediaControl(std::unique_ptr<MediaEngine> engine) : m_engine(std::move(engine)) {}

MediaControl::~MediaControl() = default;

std::uint32_t MediaControl::sendString(const QString &command, char *reply, int replyLength)
{
    QString text;
    std::uint32_t code = dispatch(command, &text);
    if (reply != nullptr && replyLength > 0)
        copyToBuffer(code == 0 ? text : QString(), reply, replyLength);
    return code;
}

bool MediaControl::errorString(std::uint32_t code, char *buffer, int length) const
{
    QString text = mediaErrorText(code);
    copyToBuffer(text, buffer, length);
    return !text.isEmpty();
}

bool MediaControl::isOurAlias(QStringView word) const
{
    return !m_alias.isEmpty() && word.compare(m_alias, Qt::CaseInsensitive) == 0;
}

// open "<path>" ALIAS <name>. The path is everything between the first quote
// after "open " and the last quote before " alias": a quote inside a file name is
// part of the name and can never end the path early.
std::uint32_t MediaControl::parseOpen(const QString &command, QString *path, QString *alias) const
{
    QString rest = command.trimmed().mid(5);
    int aliasAt = rest.lastIndexOf(QLatin1String(" alias "), -1, Qt::CaseInsensitive);
    if (aliasAt < 0)
        return toCode(MediaError::MissingParameter);
    *alias = rest.mid(aliasAt + 7).trimmed();
    *path = rest.left(aliasAt).trimmed();
    if (alias->isEmpty() || alias->contains(QLatin1Char(' ')))
        return toCode(MediaError::UnrecognizedKeyword);
    if (path->size() >= 2 && path->startsWith(QLatin1Char('"')) && path->endsWith(QLatin1Char('"')))
        *path = path->mid(1, path->size() - 2);
    else if (path->contains(QLatin1Char('"')))
        return toCode(MediaError::PathNotValid);
    if (path->isEmpty())
        return toCode(MediaError::FileNotFound);
    if (!m_alias.isEmpty())
        return toCode(MediaError::DuplicateAlias);
    return 0;
}

std::uint32_t MediaControl::openCommand(const QString &command)
{
    QString path, alias;
    if (const std::uint32_t refused = parseOpen(command, &path, &alias))
        return refused;
    m_openingAlias.clear(); // the engine's open abandons one under way
    MediaError e = m_engine->open(path);
    if (e == MediaError::None)
        m_alias = alias;
    return toCode(e);
}

void MediaControl::sendOpenAsync(const QString &command, std::function<void(std::uint32_t)> done)
{
    QString path, alias;
    const QString trimmed = command.trimmed();
    if (!trimmed.startsWith(QLatin1String("open "), Qt::CaseInsensitive)) {
        done(toCode(MediaError::UnrecognizedCommand));
        return;
    }
    if (const std::uint32_t refused = parseOpen(trimmed, &path, &alias)) {
        done(refused);
        return;
    }
    m_openingAlias = alias;
    m_engine->openAsync(path, [this, alias, done = std::move(done)](MediaError e) {
        m_openingAlias.clear();
        if (e == MediaError::None)
            m_alias = alias;
        done(toCode(e));
    });
}

void MediaControl::closeDevice()
{
    m_engine->close();
    m_alias.clear();
    m_openingAlias.clear();
}

std::uint32_t MediaControl::dispatch(const QString &command, QString *reply)
{
    const QString trimmed = command.trimmed();
    if (trimmed.startsWith(QLatin1String("open "), Qt::CaseInsensitive))
        return openCommand(trimmed);

    // The display asks for the position several times a second: the words are
    // views into the command, and at most five are ever needed.
    QVarLengthArray<QStringView, 5> words;
    for (QStringView word : QStringView(trimmed).tokenize(QLatin1Char(' '), Qt::SkipEmptyParts))
        words.append(word);
    if (words.isEmpty())
        return toCode(MediaError::UnrecognizedCommand);
    const auto is = [](QStringView word, const char *w) {
        return word.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    };
    enum class Verb { Close, Status, Play, Stop, Resume, Seek };
    static const std::pair<const char *, Verb> known[] = {
        {"close", Verb::Close}, {"status", Verb::Status}, {"play", Verb::Play},
        {"stop", Verb::Stop},   {"pause", Verb::Stop},    {"resume", Verb::Resume},
        {"seek", Verb::Seek}};
    const auto found = std::find_if(std::begin(known), std::end(known),
                                    [&](const auto &k) { return is(words[0], k.first); });
    if (found == std::end(known))
        return toCode(MediaError::UnrecognizedCommand);
    const Verb verb = found->second;
    if (words.size() < 2)
        return toCode(MediaError::MissingParameter);

    if (verb == Verb::Close && (words[1].compare(QLatin1String("all"), Qt::CaseInsensitive) == 0 ||
                                (words.size() == 2 && !m_openingAlias.isEmpty() &&
                                 words[1].compare(m_openingAlias, Qt::CaseInsensitive) == 0))) {
        closeDevice();
        return 0;
    }
    if (!isOurAlias(words[1]))
        return toCode(MediaError::InvalidDeviceName);

    const auto argc = words.size();
    auto keyword = [&](qsizetype i, const char *w) { return i < argc && is(words[i], w); };

    if (verb == Verb::Close) {
        if (argc != 2)
            return toCode(MediaError::UnrecognizedKeyword);
        closeDevice();
        return 0;
    }
    if (verb == Verb::Status) {
        if (argc != 3)
            return toCode(argc < 3 ? MediaError::MissingParameter
                                   : MediaError::UnrecognizedKeyword);
        std::int64_t value;
        if (keyword(2, "position"))
            value = m_engine->positionMs();
        else if (keyword(2, "length"))
            value = m_engine->lengthMs();
        else if (keyword(2, "mode")) {
            *reply = m_engine->isPlaying() ? QStringLiteral("playing") : QStringLiteral("stopped");
            return 0;
        } else
            return toCode(MediaError::UnrecognizedKeyword);
        *reply = QString::number(value);
        return 0;
    }
    if (verb == Verb::Play) {
        if (argc == 2)
            return toCode(m_engine->play());
        if (keyword(2, "from")) {
            if (argc != 4)
                return toCode(argc < 4 ? MediaError::MissingParameter
                                       : MediaError::UnrecognizedKeyword);
            std::int64_t ms = 0;
            MediaError e = MediaError::None;
            if (!parseMilliseconds(words[3], &ms, &e))
                return toCode(e);
            return toCode(m_engine->playFrom(ms));
        }
        return toCode(MediaError::UnrecognizedKeyword);
    }
    if (verb == Verb::Stop) {
        if (argc != 2)
            return toCode(MediaError::UnrecognizedKeyword);
        return toCode(m_engine->stop());
    }
    if (verb == Verb::Resume) {
        if (argc != 2)
            return toCode(MediaError::UnrecognizedKeyword);
        return toCode(m_engine->play());
    }
    // seek
    if (!keyword(2, "to") || argc != 4)
        return toCode(argc < 4 ? MediaError::MissingParameter : MediaError::UnrecognizedKeyword);
    if (keyword(3, "start"))
        return toCode(m_engine->seekTo(0));
    if (keyword(3, "end"))
        return toCode(m_engine->seekTo(m_engine->lengthMs()));
    std::int64_t ms = 0;
    MediaError e = MediaError::None;
    if (!parseMilliseconds(words[3], &ms, &e))
        return toCode(e);
    return toCode(m_engine->seekTo(ms));
}

} // namespace quillory
