#include "support/browsercheck.h"

#include "support/tempfolder.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tessaly::testing {

namespace {

// A page that loads the gallery in a frame and reports, in its own text,
// whether every picture of the first page loaded and every picture a link
// points to exists. Frames galleries are checked in their thumbnails frame.
const char* const kHarness = R"(<!DOCTYPE html>
<html><body><pre id="result">pending</pre>
<iframe id="gallery" src="PAGE" width="900" height="700"></iframe>
<script>
function loads(url) {
  return new Promise(done => { const i = new Image(); i.onload = () => done(i.naturalWidth > 0);
                               i.onerror = () => done(false); i.src = url; });
}
window.onload = async () => {
  const out = document.getElementById('result');
  try {
    let doc = document.getElementById('gallery').contentDocument;
    const thumbs = doc.getElementsByName('thumbs');
    if (thumbs.length) doc = thumbs[0].contentDocument;
    const images = [...doc.images];
    const broken = images.filter(i => !(i.complete && i.naturalWidth > 0)).map(i => i.src);
    const links = [...doc.querySelectorAll('a[href]')].filter(a => !a.href.endsWith('bogus.htm'));
    for (const a of links) if (!(await loads(a.href))) broken.push(a.href);
    let tiled = 'none';
    const win = doc.defaultView;
    if (typeof win.setbg === 'function') {
      const name = doc.querySelector('a[onclick]').getAttribute('onclick').match(/setbg\('([^']*)'/)[1];
      win.setbg(name);
      const bg = win.parent.pics.document.body.getAttribute('background');
      tiled = (await loads(new URL(bg, win.parent.pics.document.baseURI).href)) ? 'ok' : 'broken';
    }
    out.textContent = 'RESULT images=' + images.length + ' links=' + links.length +
                      ' broken=' + broken.length + ' tiled=' + tiled + ' ' + broken.join(' ');
  } catch (e) { out.textContent = 'RESULT error ' + e; }
};
</script></body></html>)";

}  // namespace

QString chromium()
{
    for (const char* name : {"chromium", "chromium-browser"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString checkInBrowser(const QString& browser, const QString& webFolder, const QString& page)
{
    QString harness = QString::fromLatin1(kHarness);
    harness.replace(QStringLiteral("PAGE"), page);
    const QString harnessPath = webFolder + QStringLiteral("/check.html");
    QFile file(harnessPath);
    file.open(QIODevice::WriteOnly);
    file.write(harness.toUtf8());
    file.close();
    testing::TempFolder profile;
    QProcess process;
    process.start(browser,
                  {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                   QStringLiteral("--disable-quic"), QStringLiteral("--no-first-run"),
                   QStringLiteral("--disable-background-networking"), QStringLiteral("--disable-component-update"),
                   QStringLiteral("--disable-sync"), QStringLiteral("--allow-file-access-from-files"),
                   QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--virtual-time-budget=10000"),
                   QStringLiteral("--dump-dom"), QUrl::fromLocalFile(harnessPath).toString()});
    if (!process.waitForFinished(90000)) {
        process.kill();
        return QStringLiteral("timeout");
    }
    const QString dom = QString::fromUtf8(process.readAllStandardOutput());
    const qsizetype at = dom.indexOf(QLatin1String("RESULT"));
    return at < 0 ? QStringLiteral("no result: ") + dom.left(300) : dom.mid(at, dom.indexOf(u'<', at) - at).trimmed();
}

}  // namespace tessaly::testing
