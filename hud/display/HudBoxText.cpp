#include "hud/display/HudBoxText.h"

#include <QRegularExpression>

namespace {

std::optional<CHudMarkup> ParseMarkup(const QString& inner)
{
    CHudMarkup markup;
    markup.present = true;
    const QStringList pairs = inner.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& pair : pairs) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            return std::nullopt;
        }
        const QString key = pair.left(equals).trimmed();
        const QString value = pair.mid(equals + 1).trimmed();
        if (key.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0) {
            markup.style = value;
        } else if (key.compare(QLatin1String("sizeToContent"), Qt::CaseInsensitive) == 0) {
            markup.sizeToContentWidth =
                value.compare(QLatin1String("Width"), Qt::CaseInsensitive) == 0 ||
                value.compare(QLatin1String("WidthAndHeight"), Qt::CaseInsensitive) == 0;
        }
    }
    return markup;
}

QString CleanLine(QString line)
{
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control) {
            c = QLatin1Char(' ');
        }
    }
    line = line.trimmed();
    if (line.size() > kMaxLineLength) {
        // Never cut a surrogate pair in two.
        qsizetype cut = kMaxLineLength - 1;
        if (line.at(cut - 1).isHighSurrogate()) {
            --cut;
        }
        line = line.left(cut) + QChar(0x2026);
    }
    return line;
}

}  // namespace

std::optional<CStatsLine> ParseStatsLine(const QString& line)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(.*?)\s*(?<!\S)(\d{1,9}) (\d+(?:[.,]\d+)?) (\d+(?:[.,]\d+)?) )"
                       R"((\d+(?:[.,]\d+)?) (\d+(?:[.,]\d+)?)$)"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    CStatsLine stats;
    stats.name = match.captured(1);
    stats.hands = match.captured(2).toInt();
    for (int i = 0; i < 4; ++i) {
        QString text = match.captured(3 + i);
        stats.texts[static_cast<size_t>(i)] = text;
        stats.values[static_cast<size_t>(i)] =
            text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    }
    return stats;
}

CHudBoxText ParseHudBoxText(const QString& text)
{
    CHudBoxText result;
    QString body = text;
    if (body.startsWith(QLatin1Char('['))) {
        const qsizetype close = body.indexOf(QLatin1Char(']'));
        if (close > 0) {
            if (auto markup = ParseMarkup(body.mid(1, close - 1))) {
                result.markup = *markup;
                body = body.mid(close + 1);
            }
        }
    }
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QStringList raw = body.split(QLatin1Char('\n'));
    for (const QString& line : raw) {
        const QString clean = CleanLine(line);
        if (!clean.isEmpty() && result.lines.size() < kMaxLines) {
            result.lines.append(clean);
        }
    }
    if (result.lines.size() == 1) {
        result.stats = ParseStatsLine(result.lines.front());
    }
    return result;
}
