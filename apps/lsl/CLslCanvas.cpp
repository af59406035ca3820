#include "apps/lsl/CLslCanvas.h"

#include <QPageSize>
#include <QString>
#include <algorithm>
#include <cctype>

#include "apps/lsl/CLslError.h"

namespace {

constexpr int kPdfDpi = 96;

std::string LowerExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

void CheckSize(SIZE size) {
  if (size.cx < 1 || size.cy < 1 || size.cx > CLslCanvas::kMaxSide || size.cy > CLslCanvas::kMaxSide)
    throw CLslError("an image of " + std::to_string(size.cx) + "x" + std::to_string(size.cy) +
                    " pixels is too large (at most " + std::to_string(CLslCanvas::kMaxSide) + " on a side)");
}

}  // namespace

CLslCanvas::Kind CLslCanvas::KindOf(const std::string& path) {
  const std::string ext = LowerExtension(path);
  if (ext == "png") return Kind::Png;
  if (ext == "svg") return Kind::Svg;
  if (ext == "pdf") return Kind::Pdf;
  throw CLslError("cannot tell the format of " + path + " (use .png, .svg or .pdf)");
}

// Size and format are checked before m_file makes the temporary file.
CLslCanvas::CLslCanvas(const std::string& path, SIZE size)
    : m_kind((CheckSize(size), KindOf(path))), m_size(size), m_file(path) {
  Open();
  if (!m_dc || !m_dc->IsActive()) throw CLslError("cannot write " + path);
  // A PDF page is measured in points, which need not land on whole pixels.
  m_size = m_dc->GetDeviceSize();
  RECT all{0, 0, m_size.cx, m_size.cy};
  m_dc->FillSolidRect(&all, RGB(255, 255, 255));
}

CLslCanvas::~CLslCanvas() {
  // The painter ends before the temporary file goes.
  m_dc.reset();
}

void CLslCanvas::Open() {
  const QString temp = QString::fromStdString(m_file.TempPath());
  switch (m_kind) {
    case Kind::Png:
      m_image = std::make_unique<QImage>(m_size.cx, m_size.cy, QImage::Format_RGB32);
      if (m_image->isNull()) throw CLslError("not enough memory for the image");
      m_dc = std::make_unique<CQtDC>(*m_image);
      break;
    case Kind::Svg:
      m_dc = CQtDC::CreateSvg(temp, m_size);
      break;
    case Kind::Pdf: {
      const QSizeF points(m_size.cx * 72.0 / kPdfDpi, m_size.cy * 72.0 / kPdfDpi);
      m_dc = CQtDC::CreatePdf(temp, QPageSize(points, QPageSize::Point), kPdfDpi);
      break;
    }
  }
}

void CLslCanvas::Finish() {
  const bool ended = m_dc->End();
  if (m_kind != Kind::Png && !ended) throw CLslError("cannot write " + m_file.Target());
  if (m_kind == Kind::Png && !m_image->save(QString::fromStdString(m_file.TempPath()), "PNG"))
    throw CLslError("cannot write " + m_file.Target());
  m_file.Commit();
}
