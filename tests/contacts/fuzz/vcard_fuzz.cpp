// Reads arbitrary bytes as a vCard file, card by card, and decodes what the
// import would take from each card.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "contacts/vcard_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  contacts::TVCardReader reader(bytes);
  qsizetype consumed = 0;
  while (const std::optional<contacts::TVCardEntry> entry = reader.Next()) {
    // Every card moves the reader on: no card is read twice.
    if (reader.Position() <= consumed && !entry->Malformed) std::abort();
    consumed = reader.Position();
    if (reader.Position() > bytes.size()) std::abort();
  }
  contacts::CountCards(bytes);
  return 0;
}
