#pragma once
// A drop-down list of the installed scalable font faces.
//
// Face names cross the interface as UTF-8 strings. A face that is not
// installed here (a library made on another machine) can still be selected:
// it is shown as one extra entry, so that its name survives an OK instead of
// being replaced by some installed face.
#include <QComboBox>
#include <QStringList>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class KP_API CKpComboBoxTrueType : public QComboBox {
  Q_OBJECT

 public:
  explicit CKpComboBoxTrueType(QWidget* parent = nullptr);
  ~CKpComboBoxTrueType() override;

  // Refills the box with InstalledFaces(); returns the number of entries.
  int AddFontName();

  // Selects `face`: the installed entry of that name (compared exactly, then
  // ignoring case), or else an extra entry carrying the name byte for byte.
  // An empty name clears the selection. Returns 1 when an installed face was
  // selected, 0 otherwise.
  int SelectFaceName(const CString& face);
  // The selected face, or an empty string when nothing is selected.
  CString GetSelectedFaceName() const;
  // Whether entry `index` is the extra entry of a face that is not installed.
  bool IsExtraEntry(int index) const;

  // The scalable font families of the font database, sorted (ignoring case),
  // each once; foundry suffixes and aliases of other families are left out.
  static QStringList InstalledFaces();

 signals:
  // The selected face changed (by the user or by a call).
  void selChange();

 private:
  int FindInstalled(const QByteArray& bytes) const;
  void RemoveExtraEntry();
};
