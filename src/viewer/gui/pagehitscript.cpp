#include "pagehitscript.h"

QString pageHitScript()
{
    return QStringLiteral(R"JS(
window.tamvexHits = window.tamvexHits || (function () {
  let hits = [];      // for each hit, its element (null when not found)
  let tops = [];      // each found hit's top in the document, for the map
  let current = -1;
  let token = '';
  let host = null, root = null, boxes = null, map = null, mark = null, count = null;
  let countText = '';

  function fits(el, mark) {
    return !!el && el.attributes.length === 1 && el.getAttribute('color') === 'red'
      && el.getElementsByTagName('*').length === mark[1] && el.textContent === mark[2];
  }

  function makeLayer() {
    host = document.createElement('div');
    host.style.cssText = 'position:absolute;left:0;top:0;width:0;height:0;margin:0;padding:0;border:0;'
      + 'z-index:2147483647;pointer-events:none;display:block';
    root = host.attachShadow({ mode: 'closed' });
    const style = document.createElement('style');
    style.textContent =
      '.box{position:absolute;box-sizing:border-box;background:rgba(255,230,0,.45);'
      + 'outline:2px solid #e8a000;mix-blend-mode:multiply;pointer-events:none}'
      + 'canvas{position:fixed;right:0;top:0;width:8px;height:100vh;pointer-events:auto;cursor:pointer;'
      + 'background:rgba(128,128,128,.15)}'
      + '.here{position:fixed;right:0;width:8px;height:3px;background:#f0b000;pointer-events:none;display:none}'
      + '.count{position:fixed;right:12px;bottom:4px;font:12px sans-serif;color:#333;'
      + 'background:rgba(255,255,224,.92);border:1px solid #aaa;padding:1px 5px;pointer-events:none;'
      + 'white-space:nowrap}';
    root.appendChild(style);
    boxes = document.createElement('div');
    root.appendChild(boxes);
    map = document.createElement('canvas');
    map.addEventListener('mousedown', function (e) {
      e.preventDefault();
      e.stopPropagation();
      const k = nearest((e.clientY / map.clientHeight) * pageHeight());
      if (k >= 0) {
        show(k);
        console.info(token + ' ' + k);
      }
    });
    root.appendChild(map);
    mark = document.createElement('div');
    mark.className = 'here';
    root.appendChild(mark);
    count = document.createElement('div');
    count.className = 'count';
    root.appendChild(count);
    document.documentElement.appendChild(host);
    window.addEventListener('resize', function () {
      if (!root)
        return;
      measure();
      drawMap();
      if (current >= 0) {
        drawBox(boxesOf(hits[current]));
        drawHere();
      }
    });
  }

  function clear() {
    if (host)
      host.remove();
    host = root = boxes = map = mark = count = null;
    hits = [];
    tops = [];
    current = -1;
  }

  function pageHeight() {
    return Math.max(document.documentElement.scrollHeight, 1);
  }

  function measure() {
    tops = hits.map(function (el) {
      return el ? el.getBoundingClientRect().top + window.scrollY : -1;
    });
  }

  function nearest(y) {
    let best = -1, distance = Infinity;
    for (let k = 0; k < tops.length; ++k) {
      if (tops[k] < 0)
        continue;
      const d = Math.abs(tops[k] - y);
      if (d < distance) {
        distance = d;
        best = k;
      }
    }
    return best;
  }

  // The ticks are drawn once per page (and size); stepping moves only the
  // current hit's marker over them.
  function drawMap() {
    if (!map)
      return;
    const height = Math.max(map.clientHeight, 1);
    map.width = 8;
    map.height = height;
    const g = map.getContext('2d');
    g.fillStyle = '#d00000';
    const total = pageHeight();
    for (let k = 0; k < tops.length; ++k) {
      if (tops[k] >= 0)
        g.fillRect(0, Math.floor((tops[k] / total) * (height - 2)), 8, 2);
    }
  }

  function drawHere() {
    if (current < 0 || tops[current] < 0) {
      mark.style.display = 'none';
      return;
    }
    mark.style.top = Math.floor((tops[current] / pageHeight()) * (map.clientHeight - 3)) + 'px';
    mark.style.display = 'block';
  }

  // The element's boxes in document coordinates (one per line it spans).
  function boxesOf(el) {
    if (!el)
      return [];
    const sx = window.scrollX, sy = window.scrollY;
    return Array.from(el.getClientRects(), function (r) {
      return [r.left + sx, r.top + sy, r.width, r.height];
    });
  }

  // Only writes: every read of the layout comes before, so that a step
  // costs no extra layout of a long page.
  function drawBox(rects) {
    boxes.replaceChildren();
    for (const r of rects) {
      const b = document.createElement('div');
      b.className = 'box';
      b.style.left = (r[0] - 1) + 'px';
      b.style.top = (r[1] - 1) + 'px';
      b.style.width = (r[2] + 2) + 'px';
      b.style.height = (r[3] + 2) + 'px';
      boxes.appendChild(b);
    }
  }

  function locate(marks, newToken) {
    clear();
    token = newToken;
    const fonts = document.getElementsByTagName('font');
    let cursor = 0, found = 0;
    for (const mark of marks) {
      let at = mark[0] >= cursor && fits(fonts[mark[0]], mark) ? mark[0] : -1;
      // The parser may have moved or copied elements of a badly nested page:
      // look a little further on for the mark's text.
      for (let i = cursor; at < 0 && i < fonts.length && i < cursor + 4096; ++i) {
        if (fits(fonts[i], mark))
          at = i;
      }
      if (at >= 0) {
        hits.push(fonts[at]);
        cursor = at + 1;
        ++found;
      } else {
        hits.push(null);
      }
    }
    if (marks.length > 0) {
      makeLayer();
      measure();
      drawMap();
      setCount(countText);
    }
    return found;
  }

  function show(k, text) {
    if (k < 0 || k >= hits.length || !root)
      return -1;
    current = k;
    const el = hits[k];
    const rects = boxesOf(el);
    if (el) {
      const r = el.getBoundingClientRect();
      let x = window.scrollX;
      if (r.left < 0 || r.right > window.innerWidth)
        x += r.left + r.width / 2 - window.innerWidth / 2;
      window.scrollTo({ left: x, top: window.scrollY + r.top + r.height / 2 - window.innerHeight / 2,
                        behavior: 'instant' });
    }
    drawBox(rects);
    drawHere();
    if (text !== undefined)
      setCount(text);
    return k;
  }

  function setCount(text) {
    countText = text;
    if (count) {
      count.textContent = text;
      count.style.display = text ? 'block' : 'none';
    }
  }

  function state() {
    const box = boxes && boxes.firstChild ? boxes.firstChild.getBoundingClientRect() : null;
    const el = current >= 0 ? hits[current] : null;
    return {
      layer: !!host && host.isConnected,
      found: hits.filter(function (h) { return !!h; }).length,
      current: current,
      count: count ? count.textContent : '',
      text: el ? el.textContent : '',
      boxTop: box ? box.top : null,
      elementTop: el ? el.getBoundingClientRect().top : null,
      viewHeight: window.innerHeight,
      scrollY: window.scrollY,
      mapHeight: map ? map.clientHeight : 0,
      ticks: tops.map(function (t) { return t / pageHeight(); })
    };
  }

  return { locate: locate, show: show, setCount: setCount, state: state, clear: clear };
})();
)JS");
}
