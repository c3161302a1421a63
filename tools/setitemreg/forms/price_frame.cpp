#include "tools/setitemreg/forms/price_frame.h"

#include "platform/qt/forms.h"
#include "platform/qt/tool_window.h"

namespace qd::setitemreg {

namespace {

QString q(const std::string &s) { return QString::fromStdString(s); }

// Names and texts come padded to their fields' widths; shown from their start, a box narrower
// than the padded text shows the name's beginning, not its blank end.
void put(QLineEdit *box, const std::string &text)
{
    box->setText(q(text));
    box->home(false);
}

// The names of the sixteen colour entries: label and price box, entry k at [k - 1].
struct EntryNames {
    const char *label, *box;
};
constexpr std::array<EntryNames, 16> COMPONENT_ENTRIES = {{
    {"Label48", "Text10"}, {"Label35", "Text11"}, {"Label27", "Text12"}, {"Label11", "Text13"},
    {"Label12", "Text14"}, {"Label13", "Text15"}, {"Label14", "Text16"}, {"Label15", "Text17"},
    {"Label16", "Text18"}, {"Label10", "Text19"}, {"Label18", "Text20"}, {"Label19", "Text21"},
    {"Label20", "Text22"}, {"Label21", "Text23"}, {"Label22", "Text24"}, {"Label23", "Text25"},
}};
constexpr std::array<EntryNames, 16> LINE_ENTRIES = {{
    {"Label40", "Text40"}, {"Label41", "Text41"}, {"Label42", "Text42"}, {"Label43", "Text43"},
    {"Label44", "Text44"}, {"Label45", "Text45"}, {"Label46", "Text46"}, {"Label47", "Text47"},
    {"Label56", "Text48"}, {"Label57", "Text53"}, {"Label58", "Text54"}, {"Label59", "Text55"},
    {"Label60", "Text56"}, {"Label61", "Text57"}, {"Label62", "Text58"}, {"Label63", "Text59"},
}};

// The boxes of each panel: major, class, kind 1, kind 2, section, symbol, designation, remark,
// width mm, width shaku, height mm, height shaku.
struct BoxNames {
    const char *major, *cls, *kind1, *kind2, *section, *kigo, *kosyo, *biko, *wMm, *wShaku, *hMm, *hShaku;
};
constexpr BoxNames COMPONENT_BOXES{"Text49", "Text35", "Text3", "Text50", "Text36", "Text8",
                                   "Text9",  "Text37", "Text4", "Text5",  "Text6",  "Text7"};
constexpr BoxNames LINE_BOXES{"Text28", "Text29", "Text30", "Text27", "Text60", "Text38",
                              "Text39", "Text61", "Text31", "Text32", "Text33", "Text34"};

constexpr double H = 315;
constexpr double CAPTION_W = 1335;

} // namespace

PriceFrame::PriceFrame(Kind kind, QWidget *parent) : QFrame(parent), m_kind(kind)
{
    setObjectName(kind == Kind::Component ? "Frame2" : "Frame3");
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFont(qd::qt::toolFont(9));
    const BoxNames &n = kind == Kind::Component ? COMPONENT_BOXES : LINE_BOXES;
    // Frame2 has its grid from 2280, Frame3 from 1800; the five rows above it fit either.
    const double top = kind == Kind::Component ? 240 : 100;
    const double row = kind == Kind::Component ? 360 : 340;
    const double gridTop = kind == Kind::Component ? 2280 : 1800;
    const double gridRow = 360;

    addCaption("", "大分類", 120, top, CAPTION_W);
    m_major = addBox(n.major, 1455, top, 2055);
    addCaption("", "品種１", 3630, top, 1000);
    m_kind1 = addBox(n.kind1, 4630, top, 3135);
    addCaption("", "区分", 7890, top, 700);
    m_section = addBox(n.section, 8590, top, 1695);

    addCaption("", "分類", 120, top + row, CAPTION_W);
    m_class = addBox(n.cls, 1455, top + row, 2055);
    addCaption("", "品種２", 3630, top + row, 1000);
    m_kind2 = addBox(n.kind2, 4630, top + row, 3135);
    if (kind == Kind::Component) {
        m_colour = new QLabel(this);
        m_colour->setObjectName("Label26");
        qd::qt::setGeometryTwips(m_colour, 7890, top + row, 1300, H);
        m_colourPrice = addBox("Text51", 9190, top + row, 1095);
        m_colourPrice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    addCaption("", "記号       (25)", 120, top + 2 * row, CAPTION_W);
    m_kigo = addBox(n.kigo, 1455, top + 2 * row, 2655);
    addCaption("", "呼称       (20)", 4230, top + 2 * row, CAPTION_W);
    m_kosyo = addBox(n.kosyo, 5565, top + 2 * row, 2200);

    addCaption("", "備考", 120, top + 3 * row, CAPTION_W);
    m_biko = addBox(n.biko, 1455, top + 3 * row, 4815);
    addCaption("", "Ｗミリ／尺", 6390, top + 3 * row, 1200);
    m_wMm = addBox(n.wMm, 7590, top + 3 * row, 975);
    m_wShaku = addBox(n.wShaku, 8590, top + 3 * row, 855);

    addCaption("", "Ｈミリ／尺", 6390, top + 4 * row, 1200);
    m_hMm = addBox(n.hMm, 7590, top + 4 * row, 975);
    m_hShaku = addBox(n.hShaku, 8590, top + 4 * row, 855);
    for (QLineEdit *b : {m_wMm, m_wShaku, m_hMm, m_hShaku})
        b->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const auto &entries = kind == Kind::Component ? COMPONENT_ENTRIES : LINE_ENTRIES;
    for (int k = 0; k < 16; ++k) {
        const double left = 120 + 2550 * (k / 4);
        const double t = gridTop + gridRow * (k % 4);
        auto *l = new QLabel(this);
        l->setObjectName(entries[static_cast<std::size_t>(k)].label);
        qd::qt::setGeometryTwips(l, left, t, 1455, H);
        m_labels[static_cast<std::size_t>(k)] = l;
        QLineEdit *b = addBox(entries[static_cast<std::size_t>(k)].box, left + 1455, t, 1095);
        b->setMaxLength(9);
        b->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_prices[static_cast<std::size_t>(k)] = b;
    }
}

QLineEdit *PriceFrame::addBox(const char *name, double left, double top, double width)
{
    auto *b = new QLineEdit(this);
    b->setObjectName(name);
    b->setReadOnly(true);
    b->setFocusPolicy(Qt::NoFocus);
    qd::qt::setGeometryTwips(b, left, top, width, H);
    return b;
}

void PriceFrame::addCaption(const char *name, const QString &caption, double left, double top, double width)
{
    auto *l = new QLabel(caption, this);
    l->setObjectName(name);
    qd::qt::setGeometryTwips(l, left, top, width, H);
}

QLineEdit *PriceFrame::box(const char *name) const { return findChild<QLineEdit *>(name); }

void PriceFrame::blank()
{
    for (QLineEdit *b : findChildren<QLineEdit *>())
        b->clear();
    for (QLabel *l : m_labels)
        l->clear();
    if (m_colour)
        m_colour->clear();
}

void PriceFrame::show(const PanelContent &c)
{
    blank();
    put(m_major, c.majorName);
    put(m_class, c.className);
    put(m_kind1, c.kind1Name);
    put(m_kind2, c.kind2Name);
    put(m_section, c.sectionName);
    if (m_colour) {
        m_colour->setText(q(c.colourName));
        put(m_colourPrice, c.colourPrice);
    }
    if (c.lineFound) {
        put(m_kigo, c.kigo);
        put(m_kosyo, c.kosyo);
        put(m_biko, c.biko);
        put(m_wMm, c.wMm);
        put(m_wShaku, c.wShaku);
        put(m_hMm, c.hMm);
        put(m_hShaku, c.hShaku);
        for (int k = 0; k < 16; ++k) {
            m_labels[static_cast<std::size_t>(k)]->setText(q(c.colourNames[static_cast<std::size_t>(k)]));
            put(m_prices[static_cast<std::size_t>(k)], c.prices[static_cast<std::size_t>(k)]);
        }
    }
    QFrame::show();
    repaint();
}

} // namespace qd::setitemreg
