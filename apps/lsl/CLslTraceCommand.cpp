#include "apps/lsl/CLslTraceCommand.h"

#include <cstdio>

#include "apps/lsl/CLslDrawCommand.h"
#include "apps/lsl/CLslDrawRequest.h"
#include "apps/lsl/CLslMapFit.h"
#include "apps/lsl/CLslSymbolSet.h"
#include "platform/CRecordingDC.h"

// Points given on the command line are device coordinates here: the DC and
// the engine stay in mapping mode 1 (one unit a pixel, y down), so each
// traced coordinate can be checked against the points by hand.
int CLslTraceCommand::Run(const std::vector<std::string>& words) {
  CLslDrawRequest request(words, false);
  CRecordingDC dc(request.Size());
  LslDrawOptions options = request.Options();
  std::vector<LslDeviceShape> shapes;
  if (request.HasPoints()) {
    options.mapMode = MM_TEXT;
    shapes.push_back(CLslMapFit::Unchanged(request.Points()));
  } else {
    const SIZE size = request.Size();
    shapes = CLslMapFit(request.Shapes(), size, CLslDrawCommand::Margin(size)).Apply(request.Shapes());
    CLslMapFit::SetUpMapping(dc, size.cy);
  }
  CLslSymbolSet symbols(request.Library());
  CLslStyleDrawer(request.Style(), symbols.Get(), options).Draw(dc, shapes);
  std::fputs(dc.GetText().c_str(), stdout);
  return 0;
}
