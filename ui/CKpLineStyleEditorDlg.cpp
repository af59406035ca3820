// Placeholder until the style editor lands.
#include "ui/CKpLineStyleEditorDlg.h"

CKpLineStyleEditorDlg::CKpLineStyleEditorDlg(QWidget* parent) : CKpDialog(parent) {}
CKpLineStyleEditorDlg::~CKpLineStyleEditorDlg() = default;
void CKpLineStyleEditorDlg::AttachLineStyleLib(CKpLineStyleLib* lib, long symCount,
                                               const kp::ui::KpImportedSymIDs& imported) {
  m_pLineStyleLib = lib;
  m_nLineSymCount = symCount;
  m_ImportedSymIDs = imported;
}
bool CKpLineStyleEditorDlg::OnInitDialog() { return true; }
long CKpLineStyleEditorDlg::FindSymID(long) { return -1; }
long CKpLineStyleEditorDlg::FindSymIndex(long) { return 0; }
#define KP_EMPTY(name) \
  void CKpLineStyleEditorDlg::name() {}
KP_EMPTY(OnSelchangeLslSubLinestyleList)
KP_EMPTY(OnChangeLslHorizOffset)
KP_EMPTY(OnChangeLslVertOffset)
KP_EMPTY(OnChangeLslSubWidth)
KP_EMPTY(OnLslWidthLock)
KP_EMPTY(OnLslHorizontalRepair)
KP_EMPTY(OnLslVerticalRepair)
KP_EMPTY(OnChangeLslDemoWidth)
KP_EMPTY(OnZoomIn)
KP_EMPTY(OnZoomOut)
KP_EMPTY(OnLslNewSubLinestyle)
KP_EMPTY(OnDblclkLslSubLinestyleList)
KP_EMPTY(OnLslDeleteSubLinestyle)
KP_EMPTY(OnLslSubTop)
KP_EMPTY(OnLslSubUp)
KP_EMPTY(OnLslSubDown)
KP_EMPTY(OnLslSubBottom)
void CKpLineStyleEditorDlg::OnSelEndOkColor(long) {}
