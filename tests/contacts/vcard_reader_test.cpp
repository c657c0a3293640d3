#include <QImage>
#include <gtest/gtest.h>

#include "contacts/vcard_reader.h"
#include "contacts/vcard_values.h"
#include "contacts_fixture.h"

namespace {

// Each card as one line: "first line|name|numbers|photo size|malformed reason".
std::vector<std::string> Cards(const QByteArray& data) {
  std::vector<std::string> cards;
  contacts::TVCardReader reader(data);
  while (std::optional<contacts::TVCardEntry> entry = reader.Next()) {
    const contacts::TVCard& card = entry->Card;
    QString photo = card.PhotoUnreadable ? "unreadable" : "-";
    if (!card.Photo.isEmpty()) {
      const QImage image = QImage::fromData(card.Photo);
      photo = QString("%1x%2").arg(image.width()).arg(image.height());
    }
    cards.push_back(QString("%1|%2|%3|%4|%5")
                        .arg(card.FirstLine)
                        .arg(card.Name, card.Numbers.join(", "), photo,
                             entry->Malformed ? entry->Reason : QString())
                        .toStdString());
  }
  return cards;
}

struct SampleCase {
  const char* file;
  std::vector<std::string> cards;
};

class VCardSamples : public ::testing::TestWithParam<SampleCase> {};

TEST_P(VCardSamples, ReadAsWritten) {
  const QByteArray data = ContactsFixture::DataBytes(GetParam().file);
  EXPECT_EQ(Cards(data), GetParam().cards);
  EXPECT_EQ(contacts::CountCards(data), static_cast<int>(GetParam().cards.size()) +
                                            (std::string(GetParam().file) == "malformed.vcf"));
}

INSTANTIATE_TEST_SUITE_P(
    Exports, VCardSamples,
    ::testing::Values(
        // vCard 2.1, LF line ends, quoted-printable UTF-8 and ISO-8859-1 with a
        // soft line break, base64 photo on indented lines ended by an empty one.
        SampleCase{"android-2.1.vcf",
                   {"1|Alice Brown|+1 212-555-0101, (646) 555-0199|40x30|",
                    "16|Jürgen Müller|+49 30 1234567, 0171 2345678, +49 30 1234567|-|",
                    "24|René Lefèvre de la Tour|+33 1 23 45 67 89|-|",
                    "31|Pizza Napoli|555-0188|-|"}},
        // vCard 3.0, CR LF, grouped properties, escaped comma, N without FN.
        SampleCase{"apple-3.0.vcf",
                   {"1|Bob Green|+1 (212) 555-0102, 212.555.0103|40x30|",
                    "18|Carl Smith, Jr.|(212) 555-0104|-|", "25|Dentist||-|",
                    "32|Dr. Dora Hughes|+44 20 7946 0958|-|"}},
        // vCard 4.0 as a contacts server writes it: tel: URIs, data: URIs,
        // quoted parameter values, lines folded at 75 bytes.
        SampleCase{"server-4.0.vcf",
                   {"1|Zoë Keller|+41-44-668-18-00, +44-20-7946-0958 ext. 12|24x24|",
                    "17|Bartholomew Fitzgerald-Worthington|+1-718-555-0142, +1-718-555-0143|16x16|"}},
        SampleCase{"malformed.vcf",
                   {"2|No End|555-0100|-|the card has no END:VCARD", "6|Good One|555-0111|-|",
                    "11|Broken Line||-|line 14 is not a vCard property",
                    "17|Bad Photo|555-0133|unreadable|",
                    "23|Agent Carrier|555-0155|-|",  // its AGENT's embedded card is no contact
                    "34|Never Ends|555-0144|-|the card has no END:VCARD"}}),
    [](const auto& info) {
      std::string name = info.param.file;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

struct TextCase {
  const char* name;
  QByteArray data;
  std::vector<std::string> cards;
};

class VCardTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(VCardTexts, AreDecoded) { EXPECT_EQ(Cards(GetParam().data), GetParam().cards); }

const QByteArray kGif = QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACwAAAAAAQABAAACAkQBADs=");

INSTANTIATE_TEST_SUITE_P(
    Cases, VCardTexts,
    ::testing::Values(
        TextCase{"FoldedLines", "BEGIN:VCARD\r\nFN:Anna\r\n  Maria\r\nTEL:555\r\n\t0101\r\nEND:VCARD\r\n",
                 {"1|Anna Maria|5550101|-|"}},
        TextCase{"CarriageReturnsOnly", "BEGIN:VCARD\rFN:Old Mac\rTEL:555-0101\rEND:VCARD\r",
                 {"1|Old Mac|555-0101|-|"}},
        TextCase{"Windows1252", "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=windows-1252;ENCODING=QUOTED-"
                                "PRINTABLE:Fran=E7ois =80=\nMenard\nTEL:1\nEND:VCARD\n",
                 {"1|François €Menard|1|-|"}},
        TextCase{"LatinBytesWithoutCharset", "BEGIN:VCARD\nFN:Ren\xE9\nTEL:1\nEND:VCARD\n",
                 {"1|René|1|-|"}},
        TextCase{"BrokenQuotedPrintableKept",
                 "BEGIN:VCARD\nFN;ENCODING=QUOTED-PRINTABLE:A=ZZ=4\nTEL:1\nEND:VCARD\n",
                 {"1|A=ZZ=4|1|-|"}},
        TextCase{"StructuredNameEscapes", "BEGIN:VCARD\nN:O\\;Brien;Sean;Pat,Lee;Mr.;\nTEL:1\nEND:VCARD\n",
                 {"1|Mr. Sean Pat Lee O;Brien|1|-|"}},
        TextCase{"LetterCaseAndGroups",
                 "begin:vcard\nitem1.tel;type=\"work;voice\":+1 555 0101\nfn:Low Case\nend:VCARD\n",
                 {"1|Low Case|+1 555 0101|-|"}},
        TextCase{"UnindentedBase64Photo",
                 "BEGIN:VCARD\nVERSION:2.1\nFN:Pic\nPHOTO;ENCODING=BASE64;TYPE=GIF:R0lGODlhAQABAIAAAP\n"
                 "///wAAACwAAAAAAQABAAACAkQBADs=\n\nTEL:5\nEND:VCARD\n",
                 {"1|Pic|5|1x1|"}},
        TextCase{"PhotoByLinkIsNotFetched",
                 "BEGIN:VCARD\nFN:Web\nPHOTO;VALUE=uri:https://example.com/a.jpg\nTEL:5\nEND:VCARD\n",
                 {"1|Web|5|unreadable|"}},
        TextCase{"NoCards", "\x89PNG\r\n\x1a\n binary", {}},
        TextCase{"LineWithoutName", "BEGIN:VCARD\n:value\nEND:VCARD\n",
                 {"1|||-|line 2 is not a vCard property"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VCardValues, QuotedPrintableAndDataUris) {
  EXPECT_EQ(contacts::DecodeQuotedPrintable("a=3Db=\r\nc=\nd=e"), QByteArray("a=bcd=e"));
  QByteArray bytes;
  EXPECT_TRUE(contacts::DecodeDataUri("data:image/gif;base64,R0lGODlhAQABAIAAAP///wAAACwAAAAAAQABAAACAkQBADs=", bytes));
  EXPECT_EQ(bytes, kGif);
  EXPECT_TRUE(contacts::DecodeDataUri("DATA:text/plain,a%20b", bytes));
  EXPECT_EQ(bytes, QByteArray("a b"));
  EXPECT_FALSE(contacts::DecodeDataUri("data:image/gif;base64", bytes));
  EXPECT_FALSE(contacts::DecodeDataUri("https://example.com/", bytes));
  EXPECT_FALSE(contacts::DecodeBase64("R0lG*DlhAQAB", bytes));
}

}  // namespace
