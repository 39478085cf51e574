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

const char* const kResponsiveHarness = R"(<!DOCTYPE html>
<html><body style="margin:0"><pre id="result">pending</pre>
<iframe id="gallery" src="PAGE" width="WIDTH" height="700" style="border:0"></iframe>
<script>
const frame = document.getElementById('gallery');
const loaded = () => new Promise(done => frame.addEventListener('load', done, {once: true}));
const settle = () => new Promise(done => setTimeout(done, 50));
function key(doc, name, shift) {
  doc.activeElement.dispatchEvent(new doc.defaultView.KeyboardEvent('keydown', {key: name, shiftKey: !!shift, bubbles: true, cancelable: true}));
}
window.onload = async () => {
  const out = document.getElementById('result');
  try {
    let doc = frame.contentDocument;
    const root = doc.documentElement;
    const items = [...doc.querySelectorAll('.grid li')];
    const perRow = items.filter(i => i.offsetTop === items[0].offsetTop).length;
    const images = [...doc.querySelectorAll('.grid img')];
    images.forEach(i => i.loading = 'eager');
    await Promise.all(images.map(i => i.complete ? 0 : new Promise(d => { i.onload = d; i.onerror = d; })));
    const broken = images.filter(i => !(i.naturalWidth > 0)).length;
    const viewer = doc.getElementById('viewer');
    const counter = () => viewer.hidden ? 'closed' : doc.getElementById('viewer-counter').textContent.replace(/ /g, '');
    const links = [...doc.querySelectorAll('.grid a[data-index]')];
    links[0].focus();
    links[0].click();
    const open = counter();
    key(doc, 'ArrowRight');
    const next = counter();
    const picture = doc.getElementById('viewer-image');
    await new Promise(d => { if (picture.complete) d(); else { picture.onload = d; picture.onerror = d; } });
    const shown = picture.naturalWidth > 0 ? 'ok' : 'broken';
    key(doc, 'ArrowLeft');
    const back = counter();
    const swipe = dx => {
      const win = doc.defaultView, touch = x => new win.Touch({identifier: 1, target: picture, clientX: x, clientY: 300});
      picture.dispatchEvent(new win.TouchEvent('touchstart', {changedTouches: [touch(200)], touches: [touch(200)], bubbles: true}));
      picture.dispatchEvent(new win.TouchEvent('touchend', {changedTouches: [touch(200 + dx)], bubbles: true}));
      return counter();
    };
    const swiped = swipe(-120) + ',' + swipe(120);
    let trapped = 'yes';
    for (let i = 0; i < 6; ++i) { key(doc, 'Tab', i % 2); if (!viewer.contains(doc.activeElement)) trapped = 'no'; }
    key(doc, 'Escape');
    const closed = viewer.hidden ? 'yes' : 'no';
    const focus = doc.activeElement === links[0] ? 'yes' : 'no';
    links[1].click();
    viewer.dispatchEvent(new doc.defaultView.MouseEvent('click', {bubbles: true}));
    const outside = viewer.hidden && doc.activeElement === links[1] ? 'yes' : 'no';
    const last = links[links.length - 1];
    last.focus();
    last.click();
    key(doc, 'ArrowRight');
    const across = counter();
    let landed = 'none';
    if (Number(last.getAttribute('data-index')) + 1 < JSON.parse(doc.getElementById('pictures').textContent).length) {
      const arrived = loaded();
      key(doc, 'Escape');
      await arrived;
      await settle();
      doc = frame.contentDocument;
      landed = doc.activeElement ? doc.activeElement.id : 'none';
    }
    out.textContent = 'RESULT overflow=' + (root.scrollWidth > root.clientWidth ? 1 : 0) + ' perRow=' + perRow +
      ' images=' + images.length + ' broken=' + broken + ' dialog=' + viewer.getAttribute('role') + '/' +
      viewer.getAttribute('aria-modal') + ' open=' + open + ' next=' + next + ' back=' + back + ' swiped=' + swiped + ' shown=' + shown +
      ' trapped=' + trapped + ' closed=' + closed + ' focus=' + focus + ' outside=' + outside + ' across=' + across + ' landed=' + landed;
  } catch (e) { out.textContent = 'RESULT error ' + e; }
};
</script></body></html>)";

QString runHarness(const QString& browser, const QString& webFolder, const QString& harness)
{
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
    return runHarness(browser, webFolder, harness);
}

QString checkResponsiveInBrowser(const QString& browser, const QString& webFolder, const QString& page, int width)
{
    QString harness = QString::fromLatin1(kResponsiveHarness);
    harness.replace(QStringLiteral("PAGE"), page).replace(QStringLiteral("WIDTH"), QString::number(width));
    return runHarness(browser, webFolder, harness);
}

}  // namespace tessaly::testing
