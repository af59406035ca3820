#pragma once
// The drawing surface of one output file, chosen by the file's extension: a
// PNG image, an SVG file or a one-page PDF, each `size` pixels large on a
// white ground. The PDF page is laid out at 96 dots per inch so that a pixel
// means the same in all three. Nothing reaches the target name until Finish
// has written the whole file.
#include <QImage>
#include <memory>
#include <string>

#include "apps/lsl/CLslOutputFile.h"
#include "platform/qt/CQtDC.h"

class CLslCanvas {
 public:
  enum class Kind { Png, Svg, Pdf };

  // Fails for an unknown extension, a size beyond what an image can hold, or
  // an output that cannot be written.
  CLslCanvas(const std::string& path, SIZE size);
  CLslCanvas(const CLslCanvas&) = delete;
  CLslCanvas& operator=(const CLslCanvas&) = delete;
  ~CLslCanvas();

  // The kind an output path asks for; fails for anything but .png, .svg, .pdf.
  static Kind KindOf(const std::string& path);
  static constexpr long kMaxSide = 32000;

  CDC& DC() { return *m_dc; }
  SIZE Size() const { return m_size; }
  void Finish();

 private:
  void Open();

  Kind m_kind;
  SIZE m_size;
  CLslOutputFile m_file;
  std::unique_ptr<QImage> m_image;
  std::unique_ptr<CQtDC> m_dc;
};
