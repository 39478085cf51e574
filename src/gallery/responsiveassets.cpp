// The style sheet and the script of the responsive gallery pages. They are
// written inline into every page, so that a page opened from disk or from
// any static host needs nothing else; the page is complete without the
// script (each thumbnail links to its picture), which only adds the viewer.
#include "gallery/responsivepage.h"

namespace tessaly {

const char* const kResponsiveStyle = R"CSS(*,*::before,*::after{box-sizing:border-box}
html{-webkit-text-size-adjust:100%;text-size-adjust:100%}
body{margin:0;padding:0 12px 24px;background:var(--bg);color:var(--fg);font:16px/1.4 system-ui,-apple-system,"Segoe UI",Roboto,Arial,sans-serif}
a{color:var(--accent)}
header{text-align:center;padding:16px 0 4px}
header h1,header h2,header h3{margin:0;color:var(--banner);overflow-wrap:anywhere}
.pages{display:flex;justify-content:center;gap:12px;margin:12px 0}
.pages a{padding:8px 18px;border:1px solid currentColor;border-radius:6px;text-decoration:none}
.grid{list-style:none;margin:12px auto;padding:0;max-width:1800px;display:grid;gap:12px;grid-template-columns:repeat(auto-fill,minmax(min(var(--tile),27vw),1fr))}
.grid li{display:flex;flex-direction:column;align-items:center;justify-content:center;min-width:0;text-align:center}
.grid a{display:block;line-height:0;border-radius:4px}
.grid a:focus-visible{outline:3px solid var(--accent);outline-offset:2px}
.grid img{max-width:100%;height:auto;border:var(--border) solid currentColor}
.grid .name{font-size:.8em;line-height:1.3;margin-top:4px;max-width:100%;overflow-wrap:anywhere}
body.viewing{overflow:hidden}
.viewer{position:fixed;inset:0;z-index:10;display:flex;align-items:center;justify-content:center;background:rgba(0,0,0,.92);color:#eee}
.viewer[hidden]{display:none}
.viewer figure{margin:0;padding:56px 8px 8px;display:flex;flex-direction:column;align-items:center;max-width:100%;max-height:100%}
.viewer img{display:block;max-width:calc(100vw - 16px);max-height:calc(100vh - 136px);width:auto;height:auto;object-fit:contain}
.viewer figcaption{margin-top:8px;text-align:center;font-size:.9em;overflow-wrap:anywhere}
.viewer figcaption a{color:#9cf;margin-left:.5em;white-space:nowrap}
.viewer button{position:absolute;width:48px;height:48px;border:0;border-radius:24px;background:rgba(40,40,40,.8);color:#fff;font-size:28px;line-height:48px;cursor:pointer}
.viewer button:disabled{opacity:.3;cursor:default}
.viewer button:focus-visible,.viewer a:focus-visible{outline:3px solid #9cf;outline-offset:2px}
#viewer-close{top:8px;right:8px}
#viewer-prev{left:8px;top:50%;transform:translateY(-50%)}
#viewer-next{right:8px;top:50%;transform:translateY(-50%)}
#viewer-counter{margin-right:.75em;white-space:nowrap;font-variant-numeric:tabular-nums}
)CSS";

const char* const kResponsiveScript = R"JS((function () {
  'use strict';
  var pictures = JSON.parse(document.getElementById('pictures').textContent);
  var thisPage = document.body.getAttribute('data-page');
  var viewer = document.getElementById('viewer');
  var image = document.getElementById('viewer-image');
  var counter = document.getElementById('viewer-counter');
  var caption = document.getElementById('viewer-caption');
  var original = document.getElementById('viewer-original');
  var prev = document.getElementById('viewer-prev');
  var next = document.getElementById('viewer-next');
  var close = document.getElementById('viewer-close');
  var current = -1, opener = null, touchX = 0, touchY = 0;

  function thumbnail(i) { return document.getElementById('picture-' + (i + 1)); }
  function preload(i) { if (i >= 0 && i < pictures.length) new Image().src = pictures[i].s; }
  function show(i) {
    if (i < 0 || i >= pictures.length) return;
    current = i;
    var p = pictures[i];
    image.src = p.s;
    image.alt = p.n;
    counter.textContent = (i + 1) + ' / ' + pictures.length;
    caption.textContent = [p.n, p.d, p.c].filter(Boolean).join(' \u00b7 ');
    original.hidden = !p.o;
    if (p.o) original.href = p.o;
    prev.disabled = i === 0;
    next.disabled = i === pictures.length - 1;
    if (document.activeElement && document.activeElement.disabled) close.focus();
    preload(i + 1);
  }
  function open(i, from) {
    opener = from;
    show(i);
    viewer.hidden = false;
    document.body.classList.add('viewing');
    close.focus();
  }
  function shut() {
    viewer.hidden = true;
    document.body.classList.remove('viewing');
    var p = pictures[current];
    if (p.p !== thisPage) { location.href = p.p + '#picture-' + (current + 1); return; }
    var back = thumbnail(current) || opener;
    if (back) back.focus();
  }
  function focusables() {
    return [close, prev, next, original].filter(function (e) { return !e.hidden && !e.disabled; });
  }

  document.addEventListener('click', function (e) {
    var a = e.target.closest && e.target.closest('a[data-index]');
    if (!a || e.button || e.ctrlKey || e.metaKey || e.shiftKey || e.altKey) return;
    e.preventDefault();
    open(Number(a.getAttribute('data-index')), a);
  });
  viewer.addEventListener('click', function (e) {
    if (e.target === viewer || e.target.tagName === 'FIGURE') shut();
  });
  prev.addEventListener('click', function () { show(current - 1); });
  next.addEventListener('click', function () { show(current + 1); });
  close.addEventListener('click', shut);
  document.addEventListener('keydown', function (e) {
    if (viewer.hidden) return;
    if (e.key === 'Escape') { e.preventDefault(); shut(); }
    else if (e.key === 'ArrowRight') { e.preventDefault(); show(current + 1); }
    else if (e.key === 'ArrowLeft') { e.preventDefault(); show(current - 1); }
    else if (e.key === 'Tab') {
      var items = focusables(), at = items.indexOf(document.activeElement);
      e.preventDefault();
      at = e.shiftKey ? (at <= 0 ? items.length - 1 : at - 1) : (at + 1) % items.length;
      items[at].focus();
    }
  });
  document.addEventListener('focusin', function (e) {
    if (!viewer.hidden && !viewer.contains(e.target)) close.focus();
  });
  viewer.addEventListener('touchstart', function (e) {
    touchX = e.changedTouches[0].clientX;
    touchY = e.changedTouches[0].clientY;
  }, {passive: true});
  viewer.addEventListener('touchend', function (e) {
    var dx = e.changedTouches[0].clientX - touchX, dy = e.changedTouches[0].clientY - touchY;
    if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy)) show(current + (dx < 0 ? 1 : -1));
  });
  var wanted = /^#picture-(\d+)$/.exec(location.hash);
  if (wanted && thumbnail(Number(wanted[1]) - 1)) thumbnail(Number(wanted[1]) - 1).focus();
})();
)JS";

}  // namespace tessaly
