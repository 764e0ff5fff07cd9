#include "reports/listing_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "reports/listing_engine.h"
#include "session/paths.h"
#include "toolkit/window_message.h"

namespace vantu {

namespace {

constexpr size_t kEmptyListingBytes = 10;

// Code page 437 positions of the Windows-1252 letters and signs from 160 up;
// 0 where that code page has none.
constexpr unsigned char kCp437Of[96] = {
    255, 173, 155, 156, 0,   157, 0,   0,   0,   0,   166, 174, 170, 0,   0,   0,    // 160
    248, 241, 253, 0,   0,   230, 0,   250, 0,   0,   167, 175, 172, 171, 0,   168,  // 176
    0,   0,   0,   0,   142, 143, 146, 128, 0,   144, 0,   0,   0,   0,   0,   0,    // 192
    0,   165, 0,   0,   0,   0,   153, 0,   0,   0,   0,   0,   154, 0,   0,   225,  // 208
    133, 160, 131, 0,   132, 134, 145, 135, 138, 130, 136, 137, 141, 161, 140, 139,  // 224
    0,   164, 149, 162, 147, 0,   148, 246, 0,   151, 163, 150, 129, 0,   0,   152,  // 240
};
// The letter without its accent, for the capitals code page 437 lacks.
constexpr char kPlainOf[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnooooo/ouuuuypy";

// A letter of the data as the dot-matrix printer's code page 437 holds it.
char PrinterLetter(unsigned char b) {
  if (b < 160) return static_cast<char>(b);
  if (kCp437Of[b - 160] != 0) return static_cast<char>(kCp437Of[b - 160]);
  return b >= 192 ? kPlainOf[b - 192] : '?';
}
constexpr const char* kDeviceSetting = "sImpresoraMatriz";

std::string ReadWholeFile(const std::string& name) {
  std::ifstream in(std::filesystem::path(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteWholeFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

void NothingInRange() {
  ShowMessageWindow({"COMENTARIO: NO HAY NADA PARA IMPRIMIR",
                     "<< Seleccion de paginas fuera de rango >>",
                     ".. Para continuar oprima cualquier tecla .."});
}

// The dot-matrix route; a device that fails keeps the listing beside the
// listing file so that it can be printed otherwise.
void PrintRaw(const std::string& listing) {
  const std::string device = DotMatrixDevice();
  std::string error;
  if (device.empty()) {
    error = "no hay impresora de matriz de punto";
  } else if (SendToDevice(listing, device, error)) {
    return;
  }
  const std::string kept = ListingFileName() + ".prn";
  WriteWholeFile(kept, listing);
  ShowMessageWindow({"No se puede imprimir en " + (device.empty() ? std::string("LPT") : device),
                     error, "El listado queda en " + kept,
                     ".. Para continuar oprima cualquier tecla .."});
}

void PrintOnPrinter(bool landscape) {
  std::string error;
  if (Host().PrintListingFile(ListingFileName(), landscape, error)) return;
  ShowMessageWindow(
      {"No se puede imprimir el listado", error, ".. Para continuar oprima cualquier tecla .."});
}

}  // namespace

std::string RawPrinterBytes(const std::string& listing) {
  std::string out;
  out.reserve(listing.size());
  for (size_t i = 0; i < listing.size(); ++i) {
    const auto b = static_cast<unsigned char>(listing[i]);
    if (b == 209 || b == 241) {
      out += PrinterLetter(b);
    } else if (b == static_cast<unsigned char>(kLetterMark) && i + 1 < listing.size() &&
               static_cast<unsigned char>(listing[i + 1]) >= 32) {
      out += PrinterLetter(static_cast<unsigned char>(listing[++i]));
    } else {
      out += listing[i];
    }
  }
  return out;
}

std::string DotMatrixDevice() {
  std::string chosen = Host().ReadSetting(kSettingsKey, kDeviceSetting);
  if (!chosen.empty()) return chosen;
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const char* pattern : {"/dev/usb/lp", "/dev/lp"}) {
    for (int n = 0; n < 4; ++n) {
      const std::string path = pattern + std::to_string(n);
      if (fs::exists(path, ec)) return path;
    }
  }
  return {};
}

bool SendToDevice(const std::string& listing, const std::string& device, std::string& error) {
  std::FILE* f = os::OpenStream(device, "wb");
  if (f == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  const std::string raw = RawPrinterBytes(listing);
  const bool written = std::fwrite(raw.data(), 1, raw.size(), f) == raw.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(f) == 0;
  if (written && closed) return true;
  error = std::strerror(written ? errno : writeErrno);
  return false;
}

std::string CutAfterLastPage(const std::string& listing) {
  const size_t ff = listing.rfind(kCodeFF);
  return ff == std::string::npos ? listing : listing.substr(0, ff);
}

void OutputListing(bool landscape) {
  CloseListingFile();
  std::string listing = ReadWholeFile(ListingFileName());
  if (Listing().writeFailed) {
    ShowMessageWindow({"No se pudo escribir el archivo de listados", ListingFileName(),
                       ".. Para continuar oprima cualquier tecla .."});
    EmptyListingFile();
    return;
  }
  if (listing.size() <= kEmptyListingBytes) {
    NothingInRange();
    EmptyListingFile();
    return;
  }
  if (InViewMode()) {
    Host().ShowListing(ListingFileName());
  } else if (DotMatrix()) {
    PrintRaw(listing);
  } else {
    WriteWholeFile(ListingFileName(), CutAfterLastPage(listing));
    PrintOnPrinter(landscape);
  }
  EmptyListingFile();
}

}  // namespace vantu
