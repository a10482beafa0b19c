#pragma once
// The window that lists the maker's other programs: an introduction above a scrolling list in which
// every program has a bold title and a short description with the address of its web page. A click
// on a title or a description opens that page. Modal; Close only hides it, so a later opening finds
// the list where the user left it.

#include <array>
#include <cstdint>

#include <QDialog>
#include <QString>

#include "Desktop.h"

class QLabel;
class QPushButton;
class QScrollBar;

class frmCWsoftware : public QDialog {
  Q_OBJECT

 public:
  // The catalogue's room, the rows the list re-captions while scrolling and how many it shows.
  static constexpr int kCatalogueCapacity = 32;
  static constexpr int kListRows = 4;
  static constexpr int kVisibleRows = 3;

  explicit frmCWsoftware(platform::Desktop& desktop, QWidget* parent = nullptr);

  // Set by the opener before the first showing; colours are 0x00BBGGRR (red in the low byte).
  bool blnIntroFontBold = false;
  int32_t lngIntroForeColor = 0;
  int32_t lngTitleForeColor = 0;
  int32_t lngDescriptionForeColor = 0;

  // Shows the window modally near the top-left corner of `mainWindow` and returns when the user
  // has closed it. The first showing builds the list, taking the main window's colours and the
  // settings above. Hiding the main window meanwhile is the opener's business.
  void showModal(QWidget* mainWindow);

  // Opens `strURL` in the browser; a failure is told in a message box.
  void RequestWebPage(const QString& strURL);

 private:
  struct CatalogueRecord {
    QString title;
    QString description;
    QString address;
  };

  void buildControls();
  void Form_Load(QWidget* mainWindow);
  void FillSoftwareList();
  void addProgram(const QString& title, const QString& description, const QString& pagePath);
  QString introduction() const;
  void showRecordsFrom(int firstRecord);
  void VScroll_Change(int value);
  // False for the rows below the end of the catalogue, which stay empty and ignore clicks.
  bool rowShowsProgram(int row) const;
  void lblTitle_Click(int row);
  void lblDescription_Click(int row);
  void cmdClose_Click();

  platform::Desktop& desktop_;
  bool loaded_ = false;
  QString strBaseURL;
  std::array<CatalogueRecord, kCatalogueCapacity> catalogue_;
  int intItemCount = 0;
  int intFirstShown = 0;

  QLabel* lblIntro;
  QWidget* PicBox;
  std::array<QLabel*, kListRows> lblTitle{};
  std::array<QLabel*, kListRows> lblDescription{};
  QScrollBar* VScroll;
  QPushButton* cmdClose;
};
