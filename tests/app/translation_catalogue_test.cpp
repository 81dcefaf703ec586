// The English catalogue as a translator would be checked: every translation
// keeps the numbers (%1 ... %9, %n) of its source, the keyboard mnemonic when
// the source has one, the blanks and line breaks at its ends, and holds no
// Japanese, save the symbols the source itself quotes.

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

struct Message {
    QString context;
    QString source;
    QStringList translations; // one per plural form
};

std::vector<Message> ReadCatalogue(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    bool numerus = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            numerus = xml.attributes().value("numerus") == QLatin1String("yes");
            messages.push_back({context, {}, {}});
        } else if (xml.name() == QLatin1String("source")) {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && !numerus) {
            messages.back().translations << xml.readElementText();
        } else if (xml.name() == QLatin1String("numerusform")) {
            // A plural translation holds one form per element.
            messages.back().translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

// The numbers a text takes, sorted: "%2 of %1" and "%1 of %2" take the same.
QStringList Markers(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%[1-9n]"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

bool HasMnemonic(const QString& text) {
    QString plain = text;
    plain.remove(QStringLiteral("&&"));
    return plain.contains('&');
}

bool IsSymbolOnlyJapanese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF);
}

bool IsJapanese(QChar c) {
    const char16_t u = c.unicode();
    return IsSymbolOnlyJapanese(c) || (u >= 0x3040 && u <= 0x30FF) ||
           (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF);
}

QString Ends(const QString& text) {
    QString ends;
    for (int i = 0; i < text.size() && text[i].isSpace(); ++i)
        ends += text[i];
    ends += '|';
    for (int i = static_cast<int>(text.size()) - 1; i >= 0 && text[i].isSpace(); --i)
        ends += text[i];
    return ends;
}

class Catalogue : public ::testing::Test {
  protected:
    std::vector<Message> messages = ReadCatalogue(QStringLiteral(QUVAN_TS_FILE));
};

TEST_F(Catalogue, EveryTranslationFitsItsSource) {
    ASSERT_GT(messages.size(), 300u);
    for (const Message& m : messages) {
        const std::string where = (m.context + " / " + m.source).toStdString();
        ASSERT_FALSE(m.translations.isEmpty()) << where;
        for (const QString& t : m.translations) {
            EXPECT_FALSE(t.trimmed().isEmpty()) << where;
            EXPECT_EQ(Markers(t), Markers(m.source)) << where << " → " << t.toStdString();
            EXPECT_EQ(HasMnemonic(t), HasMnemonic(m.source)) << where << " → " << t.toStdString();
            EXPECT_EQ(Ends(t), Ends(m.source)) << where << " → " << t.toStdString();
            for (QChar c : t) {
                if (IsJapanese(c)) {
                    // A symbol the source names in quotes (the full-width
                    // comma, the geta mark) may stay; words may not.
                    EXPECT_TRUE(IsSymbolOnlyJapanese(c) && m.source.contains(c))
                        << where << " → " << t.toStdString();
                }
            }
        }
    }
}

// Plural texts have both English forms, and they differ where English does.
TEST_F(Catalogue, PluralTextsHaveBothEnglishForms) {
    int plurals = 0;
    for (const Message& m : messages) {
        if (!m.source.contains(QStringLiteral("%n")))
            continue;
        ++plurals;
        EXPECT_EQ(m.translations.size(), 2) << m.source.toStdString();
    }
    EXPECT_GE(plurals, 5);
}

// The same source text in different places reads the same.
TEST_F(Catalogue, ASourceTextHasOneTranslation) {
    std::map<QString, QString> seen;
    for (const Message& m : messages) {
        const QString t = m.translations.join('|');
        const auto [it, added] = seen.emplace(m.source, t);
        EXPECT_TRUE(added || it->second == t)
            << m.source.toStdString() << ": " << it->second.toStdString() << " / "
            << t.toStdString();
    }
}

} // namespace
