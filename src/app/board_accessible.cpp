#include "app/board_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QHash>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "view/crate_kinds.h"

namespace quibbix::app {

namespace {

QHash<const QObject*, BoardAccessibility*>& boards() {
  static QHash<const QObject*, BoardAccessibility*> all;
  return all;
}

// Field pixels to the screen, at the field's zoom.
QRect onScreen(const QWidget* field, const QRect& r) {
  const double scale = field->width() / 500.0;
  const QPoint topLeft = field->mapToGlobal(QPoint(qRound(r.x() * scale), qRound(r.y() * scale)));
  return {topLeft, QSize(qRound(r.width() * scale), qRound(r.height() * scale))};
}

using Part = BoardAccessibility::Part;

// One thing on the field that is drawn, not a widget.
class PartInterface : public QAccessibleInterface {
 public:
  PartInterface(BoardAccessibility* board, Part part, int chute = 0, int index = 0)
      : board_(board), part_(part), chute_(chute), index_(index) {}

  bool isValid() const override { return BoardAccessibility::of(board_->field()) == board_; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return board_->field()->window()->windowHandle(); }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QAccessibleInterface* parent() const override {
    if (part_ == Part::Crate) return board_->chutePart(chute_);
    return QAccessible::queryAccessibleInterface(board_->field());
  }
  int childCount() const override {
    return part_ == Part::Chute ? board_->read().count[chute_] : 0;
  }
  QAccessibleInterface* child(int index) const override {
    if (part_ != Part::Chute || index < 0 || index >= childCount()) return nullptr;
    return board_->cratePart(chute_, index);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i)
      if (board_->cratePart(chute_, i) == child) return i;
    return -1;
  }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return {};
    const engine::BoardReading b = board_->read();
    switch (part_) {
      case Part::Score: return QCoreApplication::translate("Board", "Score: %1").arg(b.score);
      case Part::Level: return QCoreApplication::translate("Board", "Level: %1").arg(b.level);
      case Part::Chute: {
        const int n = b.count[chute_];
        if (n == 0) return QCoreApplication::translate("Board", "Chute %1: empty").arg(chute_ + 1);
        if (n == 1)
          return QCoreApplication::translate("Board", "Chute %1: 1 crate").arg(chute_ + 1);
        return QCoreApplication::translate("Board", "Chute %1: %2 crates").arg(chute_ + 1).arg(n);
      }
      case Part::Hand:
        if (b.held == 0) return QCoreApplication::translate("Board", "Hand: empty");
        return QCoreApplication::translate("Board", "Hand: %1, over chute %2")
            .arg(view::crateName(b.held))
            .arg(b.heldOver + 1);
      case Part::Picture:
        return QCoreApplication::translate("Board", "Picture: %1 of %2 tiles covered")
            .arg(b.covered)
            .arg(b.tiles);
      case Part::Crate:
        return index_ < b.count[chute_] ? view::crateName(b.crates[chute_][index_]) : QString();
    }
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    const QWidget* field = board_->field();
    switch (part_) {
      case Part::Score: return onScreen(field, QRect(357, 66, 115, 42));
      case Part::Level: return onScreen(field, QRect(357, 28, 115, 38));
      case Part::Chute: return onScreen(field, QRect(engine::slotX(chute_), 36, 55, 280));
      case Part::Hand:
        return onScreen(field,
                        QRect(engine::slotX(board_->read().heldOver), engine::kHandY, 55, 20));
      case Part::Picture: return onScreen(field, QRect(354, 190, 120, 120));
      case Part::Crate: {
        const int count = board_->read().count[chute_];
        return onScreen(field, QRect(engine::slotX(chute_), engine::slotY(count - index_), 55, 20));
      }
    }
    return {};
  }

  QAccessible::Role role() const override {
    switch (part_) {
      case Part::Chute: return QAccessible::List;
      case Part::Crate: return QAccessible::ListItem;
      case Part::Picture: return QAccessible::Graphic;
      default: return QAccessible::StaticText;
    }
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    if (part_ == Part::Chute) {
      s.focusable = true;
      s.focused = board_->read().cursor == chute_ && board_->field()->window()->isActiveWindow();
    }
    if (!board_->field()->isVisible()) s.invisible = true;
    return s;
  }

 private:
  BoardAccessibility* board_;
  Part part_;
  int chute_;
  int index_;
};

// The field itself: named, described by the state of the game, with the parts
// above as its children and the keyboard's chute as its focused child. Its
// default action is the resuming click.
class FieldInterface : public QAccessibleWidget {
 public:
  explicit FieldInterface(QWidget* field) : QAccessibleWidget(field, QAccessible::Grouping) {}

  BoardAccessibility* board() const { return BoardAccessibility::of(object()); }

  int childCount() const override {
    return board() != nullptr ? BoardAccessibility::kFieldChildren : 0;
  }
  QAccessibleInterface* child(int index) const override {
    BoardAccessibility* b = board();
    return b != nullptr ? b->fieldChild(index) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    BoardAccessibility* b = board();
    if (b == nullptr) return -1;
    for (int i = 0; i < BoardAccessibility::kFieldChildren; ++i)
      if (b->fieldChild(i) == child) return i;
    return -1;
  }
  QAccessibleInterface* focusChild() const override {
    BoardAccessibility* b = board();
    return b != nullptr ? b->chutePart(b->read().cursor) : nullptr;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i)
      if (QAccessibleInterface* c = child(i); c != nullptr && c->rect().contains(x, y)) return c;
    return nullptr;
  }

  QString text(QAccessible::Text t) const override {
    BoardAccessibility* b = board();
    if (b == nullptr) return QAccessibleWidget::text(t);
    if (t == QAccessible::Name) return QCoreApplication::translate("Board", "Playing field");
    if (t == QAccessible::Description) return b->fieldDescription();
    return QAccessibleWidget::text(t);
  }

  QStringList actionNames() const override { return {pressAction()}; }
  QString localizedActionDescription(const QString& action) const override {
    BoardAccessibility* b = board();
    if (action != pressAction() || b == nullptr) return {};
    return QCoreApplication::translate("Board", "Continue the paused game");
  }
  void doAction(const QString& action) override {
    if (BoardAccessibility* b = board(); b != nullptr && action == pressAction()) b->resume();
  }
};

QAccessibleInterface* fieldFactory(const QString&, QObject* object) {
  if (BoardAccessibility::of(object) == nullptr) return nullptr;
  return new FieldInterface(static_cast<QWidget*>(object));
}

void emitEvent(QAccessibleInterface* iface, QAccessible::Event type) {
  QAccessibleEvent event(iface, type);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

BoardAccessibility::BoardAccessibility(QWidget* field, Source source)
    : field_(field), source_(std::move(source)) {
  static const bool installed = [] {
    QAccessible::installFactory(&fieldFactory);
    return true;
  }();
  (void)installed;
  boards().insert(field_, this);
  const auto make = [this](Part part, int chute = 0, int index = 0) {
    QAccessibleInterface* iface = new PartInterface(this, part, chute, index);
    QAccessible::registerAccessibleInterface(iface);
    return iface;
  };
  score_ = make(Part::Score);
  level_ = make(Part::Level);
  for (int c = 0; c < engine::kChutes; ++c) {
    chutes_[c] = make(Part::Chute, c);
    for (int i = 0; i < engine::kSlots; ++i) crates_[c][i] = make(Part::Crate, c, i);
  }
  hand_ = make(Part::Hand);
  picture_ = make(Part::Picture);
  // A widget's interface made before the board existed would not know it.
  if (QAccessible::isActive()) {
    QAccessibleEvent event(field_, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
  }
}

BoardAccessibility::~BoardAccessibility() {
  boards().remove(field_);
  const auto drop = [](QAccessibleInterface* iface) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
  };
  for (int c = 0; c < engine::kChutes; ++c) {
    for (QAccessibleInterface* crate : crates_[c]) drop(crate);
    drop(chutes_[c]);
  }
  for (QAccessibleInterface* part : {score_, level_, hand_, picture_}) drop(part);
}

BoardAccessibility* BoardAccessibility::of(const QObject* field) {
  return boards().value(field, nullptr);
}

QAccessibleInterface* BoardAccessibility::fieldChild(int index) const {
  if (index == 0) return score_;
  if (index == 1) return level_;
  if (index >= 2 && index < 2 + engine::kChutes) return chutes_[index - 2];
  if (index == 2 + engine::kChutes) return hand_;
  if (index == 3 + engine::kChutes) return picture_;
  return nullptr;
}

QString BoardAccessibility::fieldDescription() const {
  const engine::BoardReading b = read();
  if (b.gameOver)
    return QCoreApplication::translate("Board", "Game over. Ctrl+N starts a new game.");
  if (b.paused)
    return QCoreApplication::translate("Board", "Game paused. Activate the field to continue.");
  return QCoreApplication::translate("Board",
                                     "Arrow keys choose a chute, Space takes and drops, "
                                     "Up sets off a special crate, N brings a crate, P pauses.");
}

void BoardAccessibility::changed() {
  if (pending_ || !QAccessible::isActive()) return;
  pending_ = true;
  QTimer::singleShot(0, this, [this] {
    pending_ = false;
    announce();
  });
}

void BoardAccessibility::languageChanged() {
  if (!QAccessible::isActive()) return;
  emitEvent(QAccessible::queryAccessibleInterface(field_), QAccessible::NameChanged);
  emitEvent(QAccessible::queryAccessibleInterface(field_), QAccessible::DescriptionChanged);
  for (int i = 0; i < kFieldChildren; ++i) emitEvent(fieldChild(i), QAccessible::NameChanged);
  const engine::BoardReading now = read();
  for (int c = 0; c < engine::kChutes; ++c)
    for (int i = 0; i < now.count[c]; ++i) emitEvent(crates_[c][i], QAccessible::NameChanged);
}

void BoardAccessibility::announce() {
  const engine::BoardReading now = read();
  const engine::BoardChanges d = engine::compare(last_, now);
  const engine::BoardReading before = std::exchange(last_, now);
  if (!d.any()) return;
  if (d.score) emitEvent(score_, QAccessible::NameChanged);
  if (d.level) emitEvent(level_, QAccessible::NameChanged);
  for (int c = 0; c < engine::kChutes; ++c) {
    if (!d.chute[c]) continue;
    const int was = before.count[c], is = now.count[c];
    for (int i = 0; i < std::min(was, is); ++i)
      if (before.crates[c][i] != now.crates[c][i])
        emitEvent(crates_[c][i], QAccessible::NameChanged);
    for (int i = was; i < is; ++i) emitEvent(crates_[c][i], QAccessible::ObjectCreated);
    for (int i = is; i < was; ++i) emitEvent(crates_[c][i], QAccessible::ObjectDestroyed);
    emitEvent(chutes_[c], QAccessible::NameChanged);
  }
  if (d.hand) emitEvent(hand_, QAccessible::NameChanged);
  if (d.picture) emitEvent(picture_, QAccessible::NameChanged);
  if (d.cursor) {
    QAccessible::State focused;
    focused.focused = true;
    for (QAccessibleInterface* chute : {chutes_[before.cursor], chutes_[now.cursor]}) {
      QAccessibleStateChangeEvent event(chute, focused);
      QAccessible::updateAccessibility(&event);
    }
    // The keyboard's chute follows the player's keys; only while the window
    // has the keyboard is it where the screen reader's attention belongs.
    if (field_->window()->isActiveWindow()) emitEvent(chutes_[now.cursor], QAccessible::Focus);
  }
  if (d.state) {
    emitEvent(QAccessible::queryAccessibleInterface(field_), QAccessible::DescriptionChanged);
    if (before.paused != now.paused && source_.pauseChanged) source_.pauseChanged();
  }
}

}  // namespace quibbix::app
