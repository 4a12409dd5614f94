// Child process of the table crash test. Opens the table file given as argument and changes
// it until killed: inserts, updates that move rows in the index, deletes and saves. Before each
// change it prints the change ("I id subject", "U id subject", "D id", "S"); after the change
// returned as written it prints "ok". Anything else ends the process with a nonzero status.
#include "store/Table.h"
#include "store/TableTestSchemas.h"

#include <QRandomGenerator>
#include <QString>

#include <cstdio>
#include <unistd.h>

namespace
{

void say(const QString &line)
{
    const QByteArray b = (line + u'\n').toUtf8();
    ssize_t done = 0;
    while (done < b.size()) {
        const ssize_t n = ::write(1, b.constData() + done, size_t(b.size() - done));
        if (n <= 0) _exit(4);
        done += n;
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) return 2;
    Table t(TableTestSchemas::events());
    t.setActiveIndex("INDEX");
    const TableLoadResult r = t.load(QString::fromLocal8Bit(argv[1]));
    if (!r.ok()) {
        say("load failed: " + r.error);
        return 3;
    }
    QRandomGenerator rng(quint32(QString::fromLatin1(argv[2]).toUInt()));
    for (int step = 0;; ++step) {
        const int pick = int(rng.bounded(10));
        TableResult w;
        if (pick < 5 || t.recordCount() < 5) {
            const int id = t.nextAutoIncValue();
            const QString subject = QStringLiteral("row %1 step %2").arg(id).arg(step);
            say(QStringLiteral("I %1 %2").arg(id).arg(subject));
            w = t.insertRow({QVariant(), 1, double(rng.bounded(1000)), 2000.0, false, false, 0, 0,
                             subject, QString(500, QChar('m'))});
        } else if (pick < 8) {
            t.setRecNo(1 + int(rng.bounded(t.recordCount())));
            const int id = t.asInteger(0);
            const QString subject = QStringLiteral("edit %1 step %2").arg(id).arg(step);
            say(QStringLiteral("U %1 %2").arg(id).arg(subject));
            t.edit();
            t.setValue(8, subject);
            t.setValue(2, double(rng.bounded(1000)));
            w = t.post();
        } else if (pick < 9) {
            t.setRecNo(1 + int(rng.bounded(t.recordCount())));
            say(QStringLiteral("D %1").arg(t.asInteger(0)));
            w = t.deleteRow();
        } else {
            say(QStringLiteral("S"));
            w = t.save();
        }
        if (!w.ok()) {
            say("write failed: " + w.error);
            return 5;
        }
        say(QStringLiteral("ok"));
    }
}
