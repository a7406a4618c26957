// The main window's records: Save, Save As and Save this info write the round and the firearm to
// their databases; Load round info and Load firearm info bring a record back into the fields.
#include "frmRoundDevel.h"

#include "frmSelect.h"

#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/workbench/Databases.h"
#include "core/workbench/ReferenceList.h"
#include "core/workbench/RoundRecord.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace fendrel {

std::vector<std::string> frmRoundDevel::roundRecord() const {
    return {fieldBytes(txtDescription), fieldBytes(cmbCal),   fieldBytes(txtBWt),
            fieldBytes(txtBC),          fieldBytes(txtSD),    fieldBytes(txtBMake),
            fieldBytes(txtBStyle),      fieldBytes(txtLPwdr), fieldBytes(txtLWt),
            fieldBytes(txtfps),         fieldBytes(txtLPrmr), fieldBytes(txtLBrass),
            fieldBytes(cmbMake),        fieldBytes(txtGunModel), fieldBytes(txtGunYr),
            fieldBytes(txtGunSN),       fieldBytes(txtGunBBL), fieldBytes(txtGunWt)};
}

std::vector<std::string> frmRoundDevel::firearmRecord() const {
    return {fieldBytes(cmbMake),  fieldBytes(txtGunModel), fieldBytes(txtGunYr),
            fieldBytes(txtGunSN), fieldBytes(txtGunBBL),   fieldBytes(txtGunWt)};
}

namespace {
void setField(QLineEdit* field, const std::string& bytes) {
    field->setText(fromBytes(bytes));
    field->setCursorPosition(0);
}
} // namespace

void frmRoundDevel::showFirearm(const std::vector<std::string>& r, size_t first) {
    cmbMake->setEditText(fromBytes(r[first]));
    setField(txtGunModel, r[first + 1]);
    setField(txtGunYr, r[first + 2]);
    setField(txtGunSN, r[first + 3]);
    setField(txtGunBBL, r[first + 4]);
    setField(txtGunWt, r[first + 5]);
}

void frmRoundDevel::showRound(const std::vector<std::string>& r) {
    setField(txtDescription, r[0]);
    // A stored caliber missing from the list joins the list rather than being lost.
    const QString caliber = fromBytes(r[1]);
    int at = cmbCal->findText(caliber, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0) {
        std::vector<std::string> entries;
        for (int i = 0; i < cmbCal->count(); ++i)
            entries.push_back(utf8ToCp1252(cmbCal->itemText(i).toStdString()));
        at = static_cast<int>(insertSorted(entries, r[1]));
        cmbCal->insertItem(at, caliber);
    }
    cmbCal->setCurrentIndex(at);
    QLineEdit* round[] = {txtBWt, txtBC, txtSD, txtBMake, txtBStyle, txtLPwdr, txtLWt, txtfps,
                          txtLPrmr, txtLBrass};
    for (size_t i = 0; i < std::size(round); ++i)
        setField(round[i], r[2 + i]);
    showFirearm(r, 12);
}

bool frmRoundDevel::saveToDatabase(bool rounds, const std::vector<std::string>& record,
                                   bool replace) {
    const Status res = saveRecord(m_context.state.programFolder, rounds ? kRounds : kFirearms,
                                      record, replace);
    if (!res.ok())
        m_context.prompts.message(
            this,
            QStringLiteral("%1 could not be saved: %2. The database on disk is unchanged.")
                .arg(QString::fromLatin1(rounds ? kRounds.fileName : kFirearms.fileName),
                     fromBytes(res.refusal)),
            QStringLiteral("Error"), Icon::Error, Buttons::Ok);
    return res.ok();
}

void frmRoundDevel::cmdSave_Click() {
    if (txtDescription->text() == QLatin1String(kDescriptionPlaceholder)) {
        m_context.prompts.message(this, QStringLiteral("You must specify a DESCRIPTION"),
                                  QStringLiteral("Error"), Icon::Error, Buttons::Ok);
        return;
    }
    const auto record = roundRecord();
    const auto db = resolveName(m_context.state.programFolder, kRounds.fileName);
    bool replace = false;
    if (containsKey(db, kRounds, record[kRoundKey]))
        replace = m_context.prompts.message(
                      this,
                      QStringLiteral("A load with this description already exists in your "
                                     "database. Do you want to replace it with this information?"),
                      QStringLiteral("Database Integrity Conflict"), Icon::Error,
                      Buttons::YesNo) == Answer::Yes;
    if (!saveToDatabase(true, record, replace))
        return;
    setStatusText(QStringLiteral(
        "All round developement data on this page has been saved.  Retrieve it for later use by "
        "loading round info and selecting this rounds DESCRIPTION."));
    if (m_context.prompts.message(
            this,
            QStringLiteral("Additionally would you like to separately save the firearm information?"),
            QStringLiteral("Question?"), Icon::Question, Buttons::YesNo) == Answer::Yes)
        cmdSaveGun_Click();
}

void frmRoundDevel::cmdSaveAs_Click() {
    const QString typed =
        m_context.prompts.input(this, QStringLiteral("Please type a new description for this round:"),
                                QStringLiteral("Save As..."), txtDescription->text());
    txtDescription->setText(typed);
    if (!txtDescription->text().isEmpty())
        cmdSave_Click();
}

void frmRoundDevel::cmdSaveGun_Click() {
    const auto record = firearmRecord();
    bool replace = false;
    if (txtGunSN->text() != QLatin1String("(optional)")) {
        const auto db = resolveName(m_context.state.programFolder, kFirearms.fileName);
        if (containsKey(db, kFirearms, record[kFirearmKey]))
            replace = m_context.prompts.message(
                          this,
                          QStringLiteral("A firearm with this Serial Number already exists in your "
                                         "database.  Do you want to replace it with this "
                                         "information?"),
                          QStringLiteral("Database Integrity Conflict"), Icon::Error,
                          Buttons::YesNo) == Answer::Yes;
    }
    if (!saveToDatabase(false, record, replace))
        return;
    setStatusText(QStringLiteral(
        "Your firearm information has been saved...retrieve it for later use by loading firearm info"));
}

int frmRoundDevel::pickRecord(const std::string& file, int fieldCount) {
    m_context.state.currentDataFile = file;
    return frmSelect::run(file, fieldCount, this).value_or(-1);
}

bool frmRoundDevel::databaseUsable(const DatabaseKind& kind) {
    const auto db = resolveName(m_context.state.programFolder, kind.fileName);
    const QString name = QString::fromLatin1(kind.fileName);
    if (const std::string why = databaseUnreadable(db); !why.empty()) {
        m_context.prompts.message(
            this, QStringLiteral("%1 cannot be read: %2.").arg(name, fromBytes(why)),
            QStringLiteral("Error"), Icon::Error, Buttons::Ok);
        return false;
    }
    // Records saved by earlier versions with a typed quote doubled: offered once a session.
    bool& asked = &kind == &kRounds ? m_askedRoundsRepair : m_askedFirearmsRepair;
    const auto bytes = readFileBytes(db);
    const size_t count = bytes ? doubledQuoteRecords(*bytes, kind) : 0;
    if (count == 0 || asked)
        return true;
    asked = true;
    const QString text =
        QStringLiteral("%1 holds %2 saved by an earlier version of this program, which stored a "
                       "double quote typed into a field as two. As they stand they load with "
                       "text missing or in the wrong fields.\n\nRewrite %3 so that %4 load as "
                       "typed? Nothing else in the file changes.")
            .arg(name, count == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(count),
                 count == 1 ? QStringLiteral("it") : QStringLiteral("them"),
                 count == 1 ? QStringLiteral("it will") : QStringLiteral("they will"));
    if (m_context.prompts.message(this, text, QStringLiteral("Repair the database?"),
                                  Icon::Question, Buttons::YesNo) != Answer::Yes)
        return true;
    const Status repaired = repairDatabase(m_context.state.programFolder, kind);
    if (!repaired.ok())
        m_context.prompts.message(
            this,
            QStringLiteral("%1 could not be repaired: %2. The database on disk is unchanged.")
                .arg(name, fromBytes(repaired.refusal)),
            QStringLiteral("Error"), Icon::Error, Buttons::Ok);
    return true;
}

void frmRoundDevel::mnuFileLoadR_Click() {
    if (!databaseUsable(kRounds))
        return;
    const auto db = resolveName(m_context.state.programFolder, kRounds.fileName);
    const int chosen = pickRecord(db.string(), kRoundFields);
    if (chosen < 0)
        return;
    if (auto record = recordAt(db, kRoundFields, static_cast<size_t>(chosen)))
        showRound(*record);
}

void frmRoundDevel::mnuFileLoadF_Click() {
    if (!databaseUsable(kFirearms))
        return;
    const auto db = resolveName(m_context.state.programFolder, kFirearms.fileName);
    const int chosen = pickRecord(db.string(), kFirearmFields);
    if (chosen < 0)
        return;
    if (auto record = recordAt(db, kFirearmFields, static_cast<size_t>(chosen)))
        showFirearm(*record, 0);
}

} // namespace fendrel
