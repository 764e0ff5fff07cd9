#include "gui/listing_pdf_mode.h"

#include <QFile>
#include <QPrinter>
#include <cstdio>
#include <cstring>
#include <string>

#include "gui/listing_printer.h"

namespace vantu::gui {

namespace {
constexpr int kStatusOk = 0;
constexpr int kStatusFailure = 2;
}  // namespace

bool IsListingPdfRun(int argc, char** argv) {
  return argc >= 2 && std::strcmp(argv[1], kListingPdfOption) == 0;
}

int RunListingPdf(int argc, char** argv) {
  const bool landscape = argc == 5 && std::strcmp(argv[4], "--landscape") == 0;
  if (argc != 4 && !landscape) {
    std::fprintf(stderr, "uso: vantu %s LISTADO SALIDA.pdf [--landscape]\n", kListingPdfOption);
    return kStatusFailure;
  }
  QFile in(QString::fromLocal8Bit(argv[2]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "vantu: no se puede leer %s: %s\n", argv[2],
                 in.errorString().toLocal8Bit().constData());
    return kStatusFailure;
  }
  const QByteArray bytes = in.readAll();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromLocal8Bit(argv[3]));
  if (!DrawListingFile(printer, std::string(bytes.constData(), static_cast<size_t>(bytes.size())),
                       landscape)) {
    std::fprintf(stderr, "vantu: no se puede escribir %s\n", argv[3]);
    return kStatusFailure;
  }
  return kStatusOk;
}

}  // namespace vantu::gui
