// Importing an address book as a phone exports it: 500 contacts, each with
// a 480 x 480 JPEG photo, into an empty caller database.
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "calls/caller_pictures.h"
#include "contacts/contacts_import.h"
#include "inidb/caller_database_config.h"

namespace {

constexpr int kContacts = 500;
constexpr int kPhotoSide = 480;

QByteArray Photo(int i) {
  QImage image(kPhotoSide, kPhotoSide, QImage::Format_RGB32);
  image.fill(QColor::fromHsv(i * 37 % 360, 160, 200));
  for (int y = 0; y < kPhotoSide; y += 8)
    for (int x = (y / 8 + i) % 16; x < kPhotoSide; x += 16) image.setPixel(x, y, qRgb(x % 256, y % 256, i % 256));
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG", 85);
  return jpeg;
}

// vCard 3.0 as a phone writes it, photos folded at 75 bytes.
QByteArray AddressBook() {
  QByteArray book;
  for (int i = 0; i < kContacts; ++i) {
    book += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    book += "N:Contact;Number " + QByteArray::number(i) + ";;;\r\n";
    book += "FN:Number " + QByteArray::number(i) + " Contact\r\n";
    book += "TEL;TYPE=CELL:+1 (212) 555-" + QByteArray::number(1000 + i) + "\r\n";
    const QByteArray line = "PHOTO;ENCODING=b;TYPE=JPEG:" + Photo(i).toBase64();
    book += line.left(75) + "\r\n";
    for (qsizetype at = 75; at < line.size(); at += 74) book += " " + line.mid(at, 74) + "\r\n";
    book += "END:VCARD\r\n";
  }
  return book;
}

void BM_Import500ContactsWithPhotos(benchmark::State& state) {
  static const QByteArray book = AddressBook();
  QTemporaryDir source;
  QFile file(source.filePath("contacts.vcf"));
  file.open(QIODevice::WriteOnly);
  file.write(book);
  file.close();
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(QUORVEL_RESOURCES_DIR "/Default.BMP"), dir.filePath("Default.BMP"));
    TIniDBase db;
    ApplyCallerDatabaseConfig(db);
    db.SetFileName(dir.filePath("Callers.DB").toStdString());
    const TCallerPictures pictures(dir.path() + "/");
    state.ResumeTiming();
    const contacts::TImportSummary summary =
        contacts::ImportContacts(db, pictures, "US", {file.fileName(), false});
    if (summary.Added != kContacts) state.SkipWithError("contacts went missing");
  }
  state.counters["contacts"] = kContacts;
  state.counters["file_MB"] = static_cast<double>(book.size()) / 1e6;
}

}  // namespace

BENCHMARK(BM_Import500ContactsWithPhotos)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
