#include "apps/lsl/CLslDrawCommand.h"

#include <algorithm>

#include "apps/lsl/CLslCanvas.h"
#include "apps/lsl/CLslDrawRequest.h"
#include "apps/lsl/CLslMapFit.h"
#include "apps/lsl/CLslSymbolSet.h"

long CLslDrawCommand::Margin(SIZE size) {
  return std::max(8L, static_cast<long>(std::min(size.cx, size.cy)) / 16);
}

int CLslDrawCommand::Run(const std::vector<std::string>& words) {
  CLslDrawRequest request(words, true);
  const std::vector<LslMapShape> shapes = request.MapShapes();
  CLslCanvas canvas(request.Output(), request.Size());
  const SIZE size = canvas.Size();
  std::vector<LslDeviceShape> fitted = CLslMapFit(shapes, size, Margin(size)).Apply(shapes);
  CLslMapFit::SetUpMapping(canvas.DC(), size.cy);
  CLslSymbolSet symbols(request.Library());
  CLslStyleDrawer(request.Style(), symbols.Get(), request.Options()).Draw(canvas.DC(), fitted);
  canvas.Finish();
  return 0;
}
