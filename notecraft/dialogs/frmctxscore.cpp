#include "notecraft/dialogs/frmctxscore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/qt/chordmapper.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/captions.h"
#include "notecraft/dialogs/pictures.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

namespace {

using M = ScorePropsModel;

QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string S(const QString& s) {
  return s.toUtf8().toStdString();
}

void ShowText(QLineEdit* box, const QString& text) {
  if (box->text() != text) box->setText(text);
}

QFont ToQFont(const harmonygrid::FontSpec& fontSpec) {
  QFont font(Q(fontSpec.Name));
  font.setPointSizeF(fontSpec.Size > 0 ? fontSpec.Size : 8.25);
  font.setBold(fontSpec.Bold);
  font.setItalic(fontSpec.Italic);
  font.setUnderline(fontSpec.Underline);
  return font;
}

harmonygrid::FontSpec FromQFont(const QFont& font, harmonygrid::FontSpec fontSpec) {
  fontSpec.Name = S(font.family());
  fontSpec.Size = static_cast<float>(font.pointSizeF() > 0 ? font.pointSizeF() : fontSpec.Size);
  fontSpec.Bold = font.bold();
  fontSpec.Italic = font.italic();
  fontSpec.Underline = font.underline();
  return fontSpec;
}

// The tempo note picture: a click steps e, q, h, w.
class TempoNotePicture final : public QWidget {
public:
  TempoNotePicture(const M& model, QWidget* parent) : QWidget(parent), m_model(model) {
    setFixedSize(18, 24);
    setCursor(Qt::PointingHandCursor);
  }
  std::function<void()> Clicked;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    PaintTempoNote(p, rect().adjusted(2, 1, -2, -2), m_model.TempoNote());
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && Clicked) Clicked();
  }

private:
  const M& m_model;
};

}  // namespace

frmCTXScore::frmCTXScore(QWidget* parent) : CtxDialog(parent) {
  setObjectName(QStringLiteral("frmCTXScore"));
  setWindowTitle(tr("Score Properties"));
  tabMain = new QTabWidget(this);
  tabMain->setObjectName(QStringLiteral("tabMain"));
  CreateGeneralPage();
  CreateTitlesPage();
  CreateDimensionsPage();
  CreateChordsPage();
  CreateButtons(true);
  LayOut();
}

frmCTXScore::~frmCTXScore() = default;

QLabel* frmCTXScore::Label(const QString& name, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* frmCTXScore::TextBox(const QString& name, QWidget* parent,
                                std::function<void(std::string)> edit) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  connect(box, &QLineEdit::textEdited, this, [this, edit = std::move(edit)](const QString& text) {
    edit(S(text));
    ShowModel();
  });
  SelectAllOnKeyboardFocus(box);
  return box;
}

QPushButton* frmCTXScore::FontButton(int index, QWidget* parent) {
  auto* button = new QPushButton(tr("Font"), parent);
  button->setObjectName(QStringLiteral("cmdFont%1").arg(index));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, index] {
    const auto& working = m_model.Font(index);
    if (auto chosen = PickFont(ToQFont(working), this)) {
      m_model.SetFont(index, FromQFont(*chosen, working));
      ShowModel();
    }
  });
  cmdFont[static_cast<std::size_t>(index)] = button;
  return button;
}

void frmCTXScore::CreateGeneralPage() {
  auto* page = new QWidget(tabMain);
  tabMain->addTab(page, tr("&General"));

  auto* fmeKey = new QGroupBox(tr("Key"), page);
  fmeKey->setObjectName(QStringLiteral("fmeKey"));
  cboMajor = new QComboBox(fmeKey);
  cboMajor->setObjectName(QStringLiteral("cboMajor"));
  cboMinor = new QComboBox(fmeKey);
  cboMinor->setObjectName(QStringLiteral("cboMinor"));
  for (auto key : kMajorKeys) cboMajor->addItem(QString::fromUtf8(key.data()));
  for (auto key : kMinorKeys) cboMinor->addItem(QString::fromUtf8(key.data()));
  for (QComboBox* list : {cboMajor, cboMinor}) {
    connect(list, &QComboBox::activated, this, [this](int i) {
      m_model.ChooseKey(i);
      ShowModel();
    });
  }
  chkMajMin = new QCheckBox(tr("Major"), fmeKey);
  chkMajMin->setObjectName(QStringLiteral("chkMajMin"));
  connect(chkMajMin, &QCheckBox::clicked, this, [this](bool minor) {
    m_model.SetMinor(minor);
    ShowModel();
  });
  auto* key = new QHBoxLayout(fmeKey);
  key->addWidget(cboMajor, 1);
  key->addWidget(cboMinor, 1);
  key->addWidget(chkMajMin);

  auto* fmeTime = new QGroupBox(tr("Time Signature"), page);
  fmeTime->setObjectName(QStringLiteral("fmeTime"));
  auto* times = new QGridLayout(fmeTime);
  for (int i = 0; i < static_cast<int>(optTime.size()); ++i) {
    auto* option = new QToolButton(fmeTime);
    option->setObjectName(QStringLiteral("optTime%1").arg(i));
    option->setCheckable(true);
    option->setIcon(TimeSignatureIcon(i));
    option->setIconSize(QSize(28, 28));
    option->setToolTip(QString::fromUtf8(kTimeCaptions[static_cast<std::size_t>(i)].data()));
    optTime[static_cast<std::size_t>(i)] = option;
    connect(option, &QToolButton::clicked, this, [this, i] {
      m_model.ChooseTime(i);
      ShowModel();
      (i == kCustomTime ? txtTime[0] : txtPulse)->setFocus(Qt::OtherFocusReason);
    });
    times->addWidget(option, i / 5, i % 5);
  }
  for (int i = 0; i < 2; ++i) {
    auto* box = TextBox(QStringLiteral("txtTime%1").arg(i), fmeTime,
                        [this, i](std::string text) { m_model.SetTimeText(i, std::move(text)); });
    box->setMaxLength(2);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(30);
    txtTime[static_cast<std::size_t>(i)] = box;
  }
  txtPulse = TextBox(QStringLiteral("txtPulse"), fmeTime,
                     [this](std::string text) { m_model.SetPulseText(std::move(text)); });
  txtPulse->setMaxLength(2);
  txtPulse->setAlignment(Qt::AlignCenter);
  txtPulse->setFixedWidth(30);
  auto* custom = new QHBoxLayout;
  custom->addWidget(txtTime[0]);
  custom->addWidget(new QLabel(QStringLiteral("/"), fmeTime));
  custom->addWidget(txtTime[1]);
  custom->addStretch(1);
  custom->addWidget(Label(QStringLiteral("lblLabel12"), tr("Pulse:"), fmeTime));
  custom->addWidget(txtPulse);
  times->addLayout(custom, 2, 0, 1, 5);

  auto* fmeNumbering = new QGroupBox(tr("Numbering"), page);
  fmeNumbering->setObjectName(QStringLiteral("fmeNumbering"));
  chkNumber = new QCheckBox(tr("Number Measures"), fmeNumbering);
  chkNumber->setObjectName(QStringLiteral("chkNumber"));
  connect(chkNumber, &QCheckBox::clicked, this, [this](bool on) {
    m_model.SetNumberMeasures(on);
    ShowModel();
  });
  optNumber[0] = new QRadioButton(tr("Every"), fmeNumbering);
  optNumber[1] = new QRadioButton(tr("First on each line"), fmeNumbering);
  for (int i = 0; i < 2; ++i) {
    optNumber[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("optNumber%1").arg(i));
    optNumber[static_cast<std::size_t>(i)]->setAutoExclusive(false);
    connect(optNumber[static_cast<std::size_t>(i)], &QRadioButton::clicked, this, [this, i] {
      m_model.ChooseNumberOption(i);
      ShowModel();
      if (i == 0) txtNumber->setFocus(Qt::OtherFocusReason);
    });
  }
  txtNumber = TextBox(QStringLiteral("txtNumber"), fmeNumbering,
                      [this](std::string text) { m_model.SetNumberText(std::move(text)); });
  txtNumber->setFixedWidth(36);
  MakeNumberBox(txtNumber, 0, false, [this] {
    m_model.ValidateNumberText();
    ShowModel();
  });
  updNumber = new UpDown(1, 25, fmeNumbering);
  updNumber->setObjectName(QStringLiteral("updNumber"));
  connect(updNumber, &UpDown::Stepped, this, [this](int delta) {
    m_model.StepNumber(delta);
    ShowModel();
  });
  auto* pctNumber = new QWidget(fmeNumbering);
  pctNumber->setObjectName(QStringLiteral("pctNumber"));
  auto* positions = new QGridLayout(pctNumber);
  positions->setContentsMargins(0, 0, 0, 0);
  positions->setSpacing(1);
  for (int i = 0; i < static_cast<int>(optPos.size()); ++i) {
    auto* option = new QToolButton(pctNumber);
    option->setObjectName(QStringLiteral("optPos%1").arg(i));
    option->setCheckable(true);
    option->setIcon(NumberPositionIcon(i));
    option->setIconSize(QSize(36, 28));
    optPos[static_cast<std::size_t>(i)] = option;
    connect(option, &QToolButton::clicked, this, [this, i] {
      m_model.ChooseNumberPos(i);
      ShowModel();
    });
    positions->addWidget(option, i / 3, i % 3);
  }
  auto* numbering = new QGridLayout(fmeNumbering);
  auto* every = new QHBoxLayout;
  every->setSpacing(1);
  every->addWidget(optNumber[0]);
  every->addWidget(txtNumber);
  every->addWidget(updNumber);
  every->addStretch(1);
  numbering->addWidget(chkNumber, 0, 0);
  numbering->addLayout(every, 1, 0);
  numbering->addWidget(optNumber[1], 2, 0);
  numbering->addWidget(pctNumber, 0, 1, 3, 1);

  auto* fmeCopyright = new QGroupBox(tr("Copyright"), page);
  fmeCopyright->setObjectName(QStringLiteral("fmeCopyright"));
  for (int i = 0; i < 2; ++i) {
    txtCopyright[static_cast<std::size_t>(i)] =
        TextBox(QStringLiteral("txtCopyright%1").arg(i), fmeCopyright, [this, i](std::string t) {
          m_model.SetTextOf(i == 0 ? M::kCopyright0 : M::kCopyright1, std::move(t));
        });
  }
  auto* copyright = new QGridLayout(fmeCopyright);
  copyright->addWidget(txtCopyright[0], 0, 0);
  copyright->addWidget(txtCopyright[1], 1, 0);
  copyright->addWidget(FontButton(fntCopyright, fmeCopyright), 0, 1);

  txtTempo = TextBox(QStringLiteral("txtTempo"), page,
                     [this](std::string text) { m_model.SetTempoText(std::move(text)); });
  txtTempo->setFixedWidth(44);
  MakeNumberBox(txtTempo, 3, true, {});

  auto* grid = new QGridLayout(page);
  grid->addWidget(fmeKey, 0, 0);
  grid->addWidget(fmeTime, 1, 0, 2, 1);
  grid->addWidget(fmeNumbering, 0, 1, 2, 1);
  auto* tempo = new QHBoxLayout;
  tempo->addWidget(Label(QStringLiteral("lblLabel7"), tr("Tempo:"), page));
  tempo->addWidget(txtTempo);
  tempo->addStretch(1);
  grid->addLayout(tempo, 2, 1);
  grid->addWidget(fmeCopyright, 3, 0, 1, 2);
}

void frmCTXScore::CreateTitlesPage() {
  auto* page = new QWidget(tabMain);
  tabMain->addTab(page, tr("&Titles"));
  auto* fmeTitle = new QGroupBox(tr("Title"), page);
  fmeTitle->setObjectName(QStringLiteral("fmeTitle"));
  auto* title = new QGridLayout(fmeTitle);
  for (int i = 0; i < 2; ++i) {
    txtTitle[static_cast<std::size_t>(i)] =
        TextBox(QStringLiteral("txtTitle%1").arg(i), fmeTitle, [this, i](std::string t) {
          m_model.SetTextOf(i == 0 ? M::kTitle : M::kSubTitle, std::move(t));
        });
    title->addWidget(txtTitle[static_cast<std::size_t>(i)], i, 0);
    title->addWidget(FontButton(i == 0 ? fntTitle : fntSubTitle, fmeTitle), i, 1);
  }
  auto* fmeComposer = new QGroupBox(tr("Composer"), page);
  fmeComposer->setObjectName(QStringLiteral("fmeComposer"));
  auto* composer = new QGridLayout(fmeComposer);
  for (int i = 0; i < 2; ++i) {
    txtComposer[static_cast<std::size_t>(i)] =
        TextBox(QStringLiteral("txtComposer%1").arg(i), fmeComposer, [this, i](std::string t) {
          m_model.SetTextOf(i == 0 ? M::kComposer : M::kArrangedBy, std::move(t));
        });
    composer->addWidget(txtComposer[static_cast<std::size_t>(i)], i, 0);
  }
  composer->addWidget(FontButton(fntComposer, fmeComposer), 0, 1);
  auto* fmeHeading = new QGroupBox(tr("Heading"), page);
  fmeHeading->setObjectName(QStringLiteral("fmeHeading"));
  txtHeading = TextBox(QStringLiteral("txtHeading"), fmeHeading,
                       [this](std::string t) { m_model.SetTextOf(M::kHeading, std::move(t)); });
  auto* heading = new QGridLayout(fmeHeading);
  heading->addWidget(txtHeading, 0, 0);
  heading->addWidget(FontButton(fntHeader, fmeHeading), 0, 1);

  auto* picture = new TempoNotePicture(m_model, page);
  picture->setObjectName(QStringLiteral("pctTempo"));
  picture->setToolTip(tr("Click to change the note of the tempo"));
  picture->Clicked = [this] {
    m_model.CycleTempoNote();
    ShowModel();
  };
  pctTempo = picture;
  lblTempo = Label(QStringLiteral("lblTempo"), QStringLiteral("120"), page);
  chkTempo = new QCheckBox(tr(" Show"), page);
  chkTempo->setObjectName(QStringLiteral("chkTempo"));
  connect(chkTempo, &QCheckBox::clicked, this, [this](bool on) {
    m_model.SetMetronome(on);
    ShowModel();
  });
  auto* tempo = new QHBoxLayout;
  tempo->addWidget(pctTempo);
  tempo->addWidget(Label(QStringLiteral("lblLabel8"), QStringLiteral("="), page));
  tempo->addWidget(lblTempo);
  tempo->addSpacing(12);
  tempo->addWidget(chkTempo);
  tempo->addStretch(1);

  auto* column = new QVBoxLayout(page);
  column->addWidget(fmeTitle);
  column->addWidget(fmeComposer);
  column->addWidget(fmeHeading);
  column->addLayout(tempo);
  column->addStretch(1);
}

void frmCTXScore::CreateDimensionsPage() {
  auto* page = new QWidget(tabMain);
  tabMain->addTab(page, tr("&Dimensions"));
  auto* fmePage = new QGroupBox(tr("Page"), page);
  fmePage->setObjectName(QStringLiteral("fmePage"));
  cboPage = new QComboBox(fmePage);
  cboPage->setObjectName(QStringLiteral("cboPage"));
  for (const auto& item : M::PageItems()) cboPage->addItem(Q(item));
  connect(cboPage, &QComboBox::activated, this, [this](int i) {
    m_model.ChoosePageSize(i);
    ShowModel();
  });
  for (int i = 0; i < 2; ++i) {
    auto* box = TextBox(QStringLiteral("txtPage%1").arg(i), fmePage,
                        [this, i](std::string t) { m_model.SetPageText(i, std::move(t)); });
    box->setMaxLength(8);
    box->setFixedWidth(70);
    txtPage[static_cast<std::size_t>(i)] = box;
  }
  optPage[0] = new QRadioButton(tr("Portrait"), fmePage);
  optPage[1] = new QRadioButton(tr("Landscape"), fmePage);
  for (int i = 0; i < 2; ++i) {
    optPage[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("optPage%1").arg(i));
    connect(optPage[static_cast<std::size_t>(i)], &QRadioButton::clicked, this, [this, i] {
      m_model.ChooseOrientation(i);
      ShowModel();
    });
    imgPage[static_cast<std::size_t>(i)] = new QLabel(fmePage);
    imgPage[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("imgPage%1").arg(i));
    imgPage[static_cast<std::size_t>(i)]->setPixmap(PageIcon(i == 1));
  }
  auto* paper = new QGridLayout(fmePage);
  paper->addWidget(Label(QStringLiteral("lblLabel0"), tr("Size:"), fmePage), 0, 0);
  paper->addWidget(cboPage, 0, 1, 1, 3);
  paper->addWidget(Label(QStringLiteral("lblWidth"), tr("Width:"), fmePage), 1, 0);
  paper->addWidget(txtPage[0], 1, 1);
  paper->addWidget(optPage[0], 1, 2);
  paper->addWidget(Label(QStringLiteral("lblHeight"), tr("Height:"), fmePage), 2, 0);
  paper->addWidget(txtPage[1], 2, 1);
  paper->addWidget(optPage[1], 2, 2);
  paper->addWidget(imgPage[0], 1, 3, 2, 1);
  paper->addWidget(imgPage[1], 1, 3, 2, 1);

  auto* fmeMargins = new QGroupBox(tr("Margins"), page);
  fmeMargins->setObjectName(QStringLiteral("fmeMargins"));
  auto* margins = new QGridLayout(fmeMargins);
  const std::array<QString, 4> marginCaptions{tr("Top:"), tr("Bottom:"), tr("Left:"), tr("Right:")};
  for (int i = 0; i < 4; ++i) {
    auto* box = TextBox(QStringLiteral("txtMargin%1").arg(i), fmeMargins,
                        [this, i](std::string t) { m_model.SetMarginText(i, std::move(t)); });
    box->setMaxLength(8);
    box->setFixedWidth(70);
    txtMargin[static_cast<std::size_t>(i)] = box;
    margins->addWidget(Label(QStringLiteral("lblMargin%1").arg(i),
                             marginCaptions[static_cast<std::size_t>(i)], fmeMargins),
                       i / 2, (i % 2) * 2);
    margins->addWidget(box, i / 2, (i % 2) * 2 + 1);
  }

  chkPage[0] = new QCheckBox(tr("Print page numbers"), page);
  chkPage[1] = new QCheckBox(tr("Except first page"), page);
  for (int i = 0; i < 2; ++i) {
    chkPage[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("chkPage%1").arg(i));
    connect(chkPage[static_cast<std::size_t>(i)], &QCheckBox::clicked, this, [this, i](bool on) {
      m_model.SetPageNumbers(i, on);
      ShowModel();
    });
  }
  chkReverse = new QCheckBox(tr("Reverse even/odd pages"), page);
  chkReverse->setObjectName(QStringLiteral("chkReverse"));
  connect(chkReverse, &QCheckBox::clicked, this, [this](bool on) {
    m_model.SetReverse(on);
    ShowModel();
  });

  auto* fmeDimensions = new QGroupBox(page);
  fmeDimensions->setObjectName(QStringLiteral("fmeDimensions"));
  auto* dimensions = new QGridLayout(fmeDimensions);
  const std::array<QString, 3> captions{tr("Staff Height:"), tr("Spacing:"), tr("System Spacing:")};
  for (int i = 0; i < 3; ++i) {
    auto* box = TextBox(QStringLiteral("txtDimension%1").arg(i), fmeDimensions,
                        [this, i](std::string t) { m_model.SetDimensionText(i, std::move(t)); });
    box->setFixedWidth(70);
    txtDimension[static_cast<std::size_t>(i)] = box;
    dimensions->addWidget(Label(QStringLiteral("lblDimension%1").arg(i),
                                captions[static_cast<std::size_t>(i)], fmeDimensions),
                          i, 0);
    dimensions->addWidget(box, i, 1);
  }

  auto* checks = new QVBoxLayout;
  checks->addWidget(chkPage[0]);
  auto* exceptFirst = new QHBoxLayout;
  exceptFirst->addSpacing(18);
  exceptFirst->addWidget(chkPage[1]);
  checks->addLayout(exceptFirst);
  checks->addWidget(chkReverse);
  checks->addStretch(1);
  auto* grid = new QGridLayout(page);
  grid->addWidget(fmePage, 0, 0);
  grid->addWidget(fmeMargins, 0, 1);
  grid->addLayout(checks, 1, 0);
  grid->addWidget(fmeDimensions, 1, 1);
}

void frmCTXScore::CreateChordsPage() {
  auto* page = new QWidget(tabMain);
  tabMain->addTab(page, tr("&Chords"));
  chkChords[0] = new QCheckBox(tr("Show Chords on Score"), page);
  chkChords[1] = new QCheckBox(tr("Use Guitar Symbols"), page);
  for (int i = 0; i < 2; ++i) {
    chkChords[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("chkChords%1").arg(i));
    connect(chkChords[static_cast<std::size_t>(i)], &QCheckBox::clicked, this, [this, i](bool on) {
      m_model.SetChords(i, on);
      ShowModel();
    });
  }
  auto* fmeMapper = new QGroupBox(tr("Chord Mapper"), page);
  fmeMapper->setObjectName(QStringLiteral("fmeMapper"));
  chmChord = new harmonygrid::ChordMapper(fmeMapper);
  chmChord->setObjectName(QStringLiteral("chmChord"));
  auto* mapper = new QVBoxLayout(fmeMapper);
  mapper->addWidget(chmChord);
  chkCapo = new QCheckBox(tr("Capo"), page);
  chkCapo->setObjectName(QStringLiteral("chkCapo"));
  connect(chkCapo, &QCheckBox::clicked, this, [this](bool on) {
    m_model.SetCapo(on);
    ShowModel();
    if (on) txtCapo->setFocus(Qt::OtherFocusReason);
  });
  txtCapo = TextBox(QStringLiteral("txtCapo"), page,
                    [this](std::string t) { m_model.SetCapoText(std::move(t)); });
  txtCapo->setFixedWidth(36);
  MakeNumberBox(txtCapo, 2, true, {});

  auto* top = new QHBoxLayout;
  top->addWidget(chkChords[0]);
  top->addWidget(chkChords[1]);
  top->addStretch(1);
  top->addWidget(chkCapo);
  top->addWidget(txtCapo);
  auto* column = new QVBoxLayout(page);
  column->addLayout(top);
  column->addWidget(fmeMapper, 1);
}

void frmCTXScore::LayOut() {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdApply);
  auto* column = new QVBoxLayout(this);
  column->addWidget(tabMain);
  column->addLayout(buttons);
  column->setSizeConstraint(QLayout::SetFixedSize);
}

void frmCTXScore::InitChordMapper(std::shared_ptr<harmonygrid::Chord> chord) {
  if (chord) chmChord->Init(std::move(chord));
}

void frmCTXScore::Init(Score& score) {
  m_score = &score;
  m_model.Init(score);
  ShowModel();
}

void frmCTXScore::ShowModel() {
  if (m_showing) return;
  m_showing = true;
  const M& m = m_model;
  // General
  cboMajor->setCurrentIndex(m.KeyPosition());
  cboMinor->setCurrentIndex(m.KeyPosition());
  cboMajor->setVisible(!m.Minor());
  cboMinor->setVisible(m.Minor());
  chkMajMin->setChecked(m.Minor());
  chkMajMin->setText(m.Minor() ? tr("Minor") : tr("Major"));
  for (int i = 0; i < static_cast<int>(optTime.size()); ++i)
    optTime[static_cast<std::size_t>(i)]->setChecked(m.TimeOption() == i);
  for (int i = 0; i < 2; ++i) {
    ShowText(txtTime[static_cast<std::size_t>(i)], Q(m.TimeText(i)));
    txtTime[static_cast<std::size_t>(i)]->setEnabled(m.TimeTextEnabled());
  }
  ShowText(txtPulse, Q(m.PulseText()));
  chkNumber->setChecked(m.NumberMeasures());
  for (int i = 0; i < 2; ++i) {
    optNumber[static_cast<std::size_t>(i)]->setChecked(m.NumberOption() == i);
    optNumber[static_cast<std::size_t>(i)]->setEnabled(m.NumberMeasures());
  }
  ShowText(txtNumber, Q(m.NumberText()));
  txtNumber->setEnabled(m.NumberTextEnabled());
  updNumber->setEnabled(m.NumberTextEnabled());
  for (int i = 0; i < static_cast<int>(optPos.size()); ++i) {
    optPos[static_cast<std::size_t>(i)]->setChecked(m.NumberPos() == i);
    optPos[static_cast<std::size_t>(i)]->setEnabled(m.NumberMeasures());
  }
  ShowText(txtCopyright[0], Q(m.TextOf(M::kCopyright0)));
  ShowText(txtCopyright[1], Q(m.TextOf(M::kCopyright1)));
  ShowText(txtTempo, Q(m.TempoText()));
  // Titles
  ShowText(txtTitle[0], Q(m.TextOf(M::kTitle)));
  ShowText(txtTitle[1], Q(m.TextOf(M::kSubTitle)));
  ShowText(txtComposer[0], Q(m.TextOf(M::kComposer)));
  ShowText(txtComposer[1], Q(m.TextOf(M::kArrangedBy)));
  ShowText(txtHeading, Q(m.TextOf(M::kHeading)));
  lblTempo->setText(Q(m.TempoText()));
  chkTempo->setChecked(m.Metronome());
  pctTempo->update();
  // Dimensions
  cboPage->setCurrentIndex(m.PageSize());
  for (int i = 0; i < 2; ++i) {
    QLineEdit* box = txtPage[static_cast<std::size_t>(i)];
    ShowText(box, Q(m.PageLength(i).Text));
    box->setReadOnly(m.PageLocked());
    box->setFocusPolicy(m.PageLocked() ? Qt::NoFocus : Qt::StrongFocus);
    optPage[static_cast<std::size_t>(i)]->setChecked(m.Orientation() == i);
    imgPage[static_cast<std::size_t>(i)]->setVisible(m.Orientation() == i);
  }
  for (int i = 0; i < 4; ++i) ShowText(txtMargin[static_cast<std::size_t>(i)], Q(m.Margin(i).Text));
  for (int i = 0; i < 3; ++i)
    ShowText(txtDimension[static_cast<std::size_t>(i)], Q(m.Dimension(i).Text));
  chkPage[0]->setChecked(m.PageNumbers(0));
  chkPage[1]->setChecked(m.PageNumbers(1));
  chkPage[1]->setEnabled(m.ExceptFirstEnabled());
  chkReverse->setChecked(m.Reverse());
  // Chords
  chkChords[0]->setChecked(m.Chords(0));
  chkChords[1]->setChecked(m.Chords(1));
  chkChords[1]->setEnabled(m.ChordMapsEnabled());
  chkCapo->setChecked(m.Capo());
  chkCapo->setEnabled(m.CapoEnabled());
  ShowText(txtCapo, Q(m.CapoText()));
  txtCapo->setEnabled(m.Capo());
  cmdApply->setEnabled(m.Modified());
  m_showing = false;
}

void frmCTXScore::OnApply() {
  if (!m_score) return;
  ValidateFocusedBox();
  m_model.Apply(*m_score);
  ShowModel();
}

void frmCTXScore::OnOk() {
  OnApply();
  Finish(1);
}

}  // namespace notecraft::dialogs
