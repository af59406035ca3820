#pragma once
// "线型管理器": copies styles from an external library (opened from a file or
// made from the default styles) into the current library. The caller fills
// m_CurLib before the run and reads it back after IDOK.
//
// Copied styles go after the current list's selection (after the last style
// when nothing is selected), in the external list's order. A copied style
// whose ID the current library already has gets the next free ID, so the
// library never holds one ID twice; copies are filed in the root group.
//
// Files: "打开" reads a library of the oldest format (the one "保存" writes)
// and, as well, of the newer ones; a file that cannot be read or is no
// library is reported and leaves the external library as it was. "保存"
// writes the current library in the oldest format, through a temporary file
// that replaces the target only when complete.
#include <vector>

#include "model/CKpLineStyleLib.h"
#include "platform/KpExport.h"
#include "ui/CKpDialog.h"

class CListLineSel;
class QPushButton;

class KP_API CDlgStyleMan : public CKpDialog {
  Q_OBJECT

 public:
  explicit CDlgStyleMan(QWidget* parent = nullptr);
  ~CDlgStyleMan() override;

  CKpLineStyleLib m_CurLib;  // the current library
  CKpLineStyleLib m_ExtLib;  // the external library

  // --- handlers ---
  void OnButtonOpen();
  // True when the file was written.
  bool OnButtonSave();
  void OnButtonDefault();
  // "<": the selected external styles; "<<": all of them.
  void OnButtonCopy();
  void OnButtonCopyAll();

  // Reads `path` into the external library; reports a failure and returns
  // false, the external library unchanged.
  bool OpenLibraryFile(const CString& path);
  // Writes the current library to `path`; reports a failure and returns false.
  bool SaveLibraryFile(const CString& path);
  // Copies external styles (indices in the order given) after the current
  // selection; returns the index of the last one inserted, or -1.
  long CopyStyles(const std::vector<long>& external);

  // --- children, for hosts and tests ---
  CListLineSel* CurList() const { return m_pCurList; }
  CListLineSel* ExtList() const { return m_pExtList; }
  QPushButton* CopyButton() const { return m_pCopy; }
  QPushButton* CopyAllButton() const { return m_pCopyAll; }
  QPushButton* OpenButton() const { return m_pOpen; }
  QPushButton* SaveButton() const { return m_pSave; }
  QPushButton* DefaultButton() const { return m_pDefault; }
  QPushButton* OkButton() const { return m_pOk; }
  QPushButton* CancelButton() const { return m_pCancel; }

 protected:
  bool OnInitDialog() override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void ConnectControls();
  // The ID a copied style takes: its own while the current library lacks it.
  long FreeID(long id) const;

  bool m_bInitDone = false;
  CListLineSel* m_pCurList = nullptr;
  CListLineSel* m_pExtList = nullptr;
  QPushButton* m_pCopyAll = nullptr;
  QPushButton* m_pCopy = nullptr;
  QPushButton* m_pOpen = nullptr;
  QPushButton* m_pSave = nullptr;
  QPushButton* m_pDefault = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
};
