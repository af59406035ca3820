#pragma once
// "线型模式编辑器": the classic editor of one sub-line - its dash pattern,
// style type, start mode, join, cap, pen style, pen width, colour, the
// decoration's vertical length, rotation and glyph, and the repeat mode -
// with a sample. Every change writes into m_LineStyleBase at once; the caller
// assigns it before DoModal and reads it back after IDOK.
//
// Values a box holds outside its range are ignored: the sub-line keeps its
// value. Handlers do nothing until the dialog is set up (DoModal, or showing
// it).
#include "model/CKpLineStyleBase.h"
#include "platform/KpExport.h"
#include "platform/KpTypes.h"
#include "ui/CKpDialog.h"

class CDC;
class CRect;
class CKpButtonColorPicker;
class CKpNumEdit;
class CKpSymLib;
class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QScrollBar;

class KP_API CDlgGLineEdit : public CKpDialog {
  Q_OBJECT

 public:
  // The style types this editor lists: 0 to 42.
  static constexpr int kKindCount = 43;
  // The pair "增加" appends.
  static constexpr long kNewEntryLength = 4;
  // What the repeat mode gives a first entry that has no usable length.
  static constexpr long kRepeatLength = 50;
  static constexpr long kMinRepeatLength = 20;

  explicit CDlgGLineEdit(QWidget* parent = nullptr);
  ~CDlgGLineEdit() override;

  CKpLineStyleBase m_LineStyleBase;
  BOOL m_bInitialized = FALSE;

  // The symbols a custom-symbol sub-line names, for its sample; null leaves
  // the engine's symbol library as the host set it.
  void SetSymbolLib(CKpSymLib* lib) { m_pSymLib = lib; }

  // --- handlers (public so that owners and tests can drive the dialog) ---
  void OnSelchangePatternList();
  void OnPatternAdd();
  void OnPatternDelete();
  void OnSelchangeKind();
  void OnSelchangeStartMode();
  void OnSelchangeJoin();
  void OnSelchangeCap();
  void OnSelchangePenStyle();
  void OnSelchangeRepeatMode();
  void OnChangeHVLength();
  void OnChangePenWidth();
  void OnChangeEntryLength();
  void OnChangeAngle();
  void OnSelEndOkColor(long color);
  void OnSymbol();
  void OnOK();

  // --- children, for owners and tests ---
  QListWidget* GetPatternList() const { return m_pList; }
  QPushButton* GetAddButton() const { return m_pAdd; }
  QPushButton* GetDeleteButton() const { return m_pDelete; }
  QComboBox* GetKindCombo() const { return m_pKind; }
  QComboBox* GetStartModeCombo() const { return m_pStartMode; }
  QComboBox* GetJoinCombo() const { return m_pJoin; }
  QComboBox* GetCapCombo() const { return m_pCap; }
  QComboBox* GetPenStyleCombo() const { return m_pPenStyle; }
  QComboBox* GetRepeatModeCombo() const { return m_pRepeatMode; }
  CKpNumEdit* GetHVLengthEdit() const { return m_pHVLength; }
  CKpNumEdit* GetPenWidthEdit() const { return m_pPenWidth; }
  CKpNumEdit* GetEntryLengthEdit() const { return m_pEntryLength; }
  CKpNumEdit* GetAngleEdit() const { return m_pAngle; }
  CKpButtonColorPicker* GetColorButton() const { return m_pColor; }
  QPushButton* GetSymbolButton() const { return m_pSymbol; }
  QCheckBox* GetUserStyleCheck() const { return m_pUserStyle; }
  QWidget* GetSample() const { return m_pSample; }
  QPushButton* GetOkButton() const { return m_pOk; }
  QPushButton* GetCancelButton() const { return m_pCancel; }

 protected:
  bool OnInitDialog() override;
  void showEvent(QShowEvent* event) override;
  // Paints the sample area and the symbol button (both owner-drawn).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  QWidget* CreatePatternFrame();
  QWidget* CreatePenFrame();
  QWidget* CreateDecorationFrame();
  void ConnectControls();
  void FillCombos();
  void LoadContent();

  // Refills the pattern list and selects `row` (none when out of range),
  // showing that entry's length; no notifications.
  void RebuildList(int row);
  void ShowKind();
  void UpdateUserStyleBox();
  void EnableGlyphControls();
  // An empty pattern leaves nothing for a decoration to sit on: the listed
  // kinds fall back to the plain line.
  void DropKindWithoutPattern();
  // The length box's value, or the last one it accepted when its text is
  // not a number.
  long EntryBoxValue() const;
  void Redraw();
  void OnDrawSample(CDC* dc, const CRect& client);
  void OnDrawSymbol(CDC* dc, const CRect& client);

  CKpSymLib* m_pSymLib = nullptr;
  long m_nEntryLength = kNewEntryLength;

  QListWidget* m_pList = nullptr;
  QPushButton* m_pAdd = nullptr;
  QPushButton* m_pDelete = nullptr;
  QComboBox* m_pKind = nullptr;
  QComboBox* m_pStartMode = nullptr;
  QComboBox* m_pJoin = nullptr;
  QComboBox* m_pCap = nullptr;
  QComboBox* m_pPenStyle = nullptr;
  QComboBox* m_pRepeatMode = nullptr;
  CKpNumEdit* m_pHVLength = nullptr;
  CKpNumEdit* m_pPenWidth = nullptr;
  CKpNumEdit* m_pEntryLength = nullptr;
  CKpNumEdit* m_pAngle = nullptr;
  QScrollBar* m_pHVLengthSpin = nullptr;
  QScrollBar* m_pPenWidthSpin = nullptr;
  QScrollBar* m_pEntryLengthSpin = nullptr;
  QScrollBar* m_pAngleSpin = nullptr;
  CKpButtonColorPicker* m_pColor = nullptr;
  QPushButton* m_pSymbol = nullptr;
  QCheckBox* m_pUserStyle = nullptr;
  QWidget* m_pSample = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
};
