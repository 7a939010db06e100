// The dot plot page: details of the segment under the pointer (a click pins
// them, to select or copy), zoom into a dragged rectangle or a chosen
// sequence pair's cell (double-click goes back one zoom), layers switched
// on and off, and alignments below a length or identity hidden. The page's
// data holds every segment drawn as a line; the axes map positions to plot
// pixels as aliplot does (base p covers [p - 1, p]).
(function () {
  'use strict';
  const SVG_NS = 'http://www.w3.org/2000/svg';
  const HOVER_DISTANCE = 6;  // screen pixels from a segment that still count as on it
  const MIN_DRAG = 4;        // screen pixels a drag must span to zoom
  const MIN_SPAN = 10;       // bases a zoomed axis shows at least

  const data = JSON.parse(document.getElementById('plot-data').textContent);
  const root = document.getElementById('dotplot');
  const plot = document.getElementById('plot');
  const tip = document.getElementById('tip');
  const tipText = document.getElementById('tip-text');
  const size = data.plotSize;
  const views = [];  // the views zoomed out of, latest last
  let view = { x: 0, y: 0, w: size, h: size };  // the visible part of the plot, in plot pixels

  const toPixel = (axis, value) => (value - axis.origin) * size / (axis.end - axis.origin);
  const fromPixel = (axis, pixel) => axis.origin + pixel * (axis.end - axis.origin) / size;

  const checkboxes = Array.from(document.querySelectorAll('#controls input[data-layer]'));
  const shown = (toggle) => checkboxes.some((box) => box.dataset.layer === toggle && box.checked);

  // Each layer's segments come as eight numbers: the alignment number (a
  // block's id) less the previous one's, xb, yb, xe - xb, ye - yb, score,
  // 1 for minus, identity in percent (-1: none).
  const segments = [];
  for (const layer of data.layers) {
    const v = layer.segments;
    layer.block = layer.id.startsWith('blocks-');
    let n = 0;
    for (let i = 0; i < v.length; i += 8) {
      n += v[i];
      const xb = v[i + 1], yb = v[i + 2], xe = xb + v[i + 3], ye = yb + v[i + 4];
      const minus = v[i + 6] === 1;
      const yBegin = size - toPixel(data.y, yb - 1), yEnd = size - toPixel(data.y, ye);
      segments.push({
        layer: layer, n: n, xb: xb, yb: yb, xe: xe, ye: ye, score: v[i + 5], minus: minus, identity: v[i + 7],
        alignments: layer.block ? layer.alignments[i / 8] : 0, passes: true,
        x1: toPixel(data.x, xb - 1), x2: toPixel(data.x, xe),
        y1: minus ? yEnd : yBegin, y2: minus ? yBegin : yEnd,
      });
    }
  }

  // Ticks as aliplot draws them: steps of 1, 2 or 5 times a power of ten.
  function ticks(origin, end) {
    const span = end - origin;
    const raw = span / Math.max(data.maxTicks, 1);
    const magnitude = Math.pow(10, Math.floor(Math.log10(raw)));
    const step = Math.max(1, [1, 2, 5, 10].map((m) => m * magnitude).find((s) => s >= raw));
    const unit = span >= 2e6 ? [1e6, 'Mb'] : span >= 2e3 ? [1e3, 'kb'] : [1, 'bp'];
    const decimals = Math.max(0, Math.ceil(-Math.log10(step / unit[0]) - 1e-9));
    const result = [];
    for (let index = Math.ceil(origin / step); index * step <= end; ++index) {
      const value = index * step;
      let label = (value / unit[0]).toFixed(decimals);
      if (label.includes('.')) label = label.replace(/0+$/, '').replace(/\.$/, '');
      result.push({ pixel: (value - origin) * size / span, label: value === 0 ? '0' : label + ' ' + unit[1] });
    }
    return result;
  }

  function element(name, attributes, parent) {
    const node = document.createElementNS(SVG_NS, name);
    for (const key in attributes) node.setAttribute(key, attributes[key]);
    parent.appendChild(node);
    return node;
  }

  function drawTicks() {
    const xTicks = document.getElementById('x-ticks');
    const yTicks = document.getElementById('y-ticks');
    // A canvas of several sequences names them instead: the names fit only
    // the whole view, so they are hidden while zoomed.
    if (data.bands) {
      for (const names of [xTicks, yTicks]) names.style.display = views.length ? 'none' : '';
      return;
    }
    xTicks.replaceChildren();
    yTicks.replaceChildren();
    for (const tick of ticks(fromPixel(data.x, view.x), fromPixel(data.x, view.x + view.w))) {
      const x = tick.pixel.toFixed(1);
      element('line', { x1: x, y1: -size, x2: x, y2: 0, class: 'grid' }, xTicks);
      element('line', { x1: x, y1: 0, x2: x, y2: 6, class: 'tick' }, xTicks);
      element('text', { x: x, y: 21, 'text-anchor': 'middle' }, xTicks).textContent = tick.label;
    }
    const low = fromPixel(data.y, size - view.y - view.h);
    for (const tick of ticks(low, fromPixel(data.y, size - view.y))) {
      const y = (size - tick.pixel).toFixed(1);
      element('line', { x1: 0, y1: y, x2: size, y2: y, class: 'grid' }, yTicks);
      element('line', { x1: -6, y1: y, x2: 0, y2: y, class: 'tick' }, yTicks);
      element('text', { x: -9, y: (size - tick.pixel + 4.5).toFixed(1), 'text-anchor': 'end' }, yTicks).textContent = tick.label;
    }
  }

  function showView() {
    plot.setAttribute('viewBox', [view.x, view.y, view.w, view.h].join(' '));
    drawTicks();
    unpin();
  }
  function zoomTo(next) {
    views.push(view);
    view = next;
    showView();
  }

  // The pointer in screen pixels from the plot area's top left corner.
  function pointer(event) {
    const box = root.getBoundingClientRect();
    return { x: event.clientX - box.left - data.plotLeft, y: event.clientY - box.top - data.plotTop };
  }
  const inPlot = (p) => p.x >= 0 && p.y >= 0 && p.x <= size && p.y <= size;
  const toScreen = (x, y) => ({ x: (x - view.x) * size / view.w, y: (y - view.y) * size / view.h });

  function distance(p, a, b) {
    const dx = b.x - a.x, dy = b.y - a.y;
    const lengthSquared = dx * dx + dy * dy;
    const t = lengthSquared === 0 ? 0 : Math.max(0, Math.min(1, ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared));
    return Math.hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
  }

  // The segment nearest the pointer; chain members, drawn on top, win ties,
  // and alignments win over the wide blocks under them.
  function segmentAt(p) {
    let best = null, bestDistance = HOVER_DISTANCE;
    for (const s of segments) {
      if (!shown(s.layer.id) || !s.passes) continue;
      const bias = s.layer.id.startsWith('chain-') ? 1 : s.layer.block ? -2 : 0;
      const d = distance(p, toScreen(s.x1, s.y1), toScreen(s.x2, s.y2)) - bias;
      if (d < bestDistance) { best = s; bestDistance = d; }
    }
    return best;
  }

  const grouped = (n) => Number(n).toLocaleString('en-US');
  // Canvas positions b..e as the sequence's own: on a canvas of several,
  // the band that holds b ([offset, length, name, turned]); a turned
  // sequence counts from its end.
  function place(bands, name, b, e) {
    if (!bands) return grouped(b) + ' \u2013 ' + grouped(e) + '  (' + name + ')';
    let low = 0, high = bands.length - 1;
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (bands[middle][0] < b) low = middle; else high = middle - 1;
    }
    const [offset, length, bandName, turned] = bands[low];
    const from = turned ? offset + length - e + 1 : b - offset, to = turned ? offset + length - b + 1 : e - offset;
    return grouped(from) + ' \u2013 ' + grouped(to) + '  (' + bandName + (turned ? ', turned over' : '') + ')';
  }
  function tipLines(s) {
    const identity = s.identity >= 0 ? ', identity ' + s.identity + ' %' : '';
    const where = [
      'x: ' + place(data.bands && data.bands.x, data.x.name, s.xb, s.xe),
      'y: ' + place(data.bands && data.bands.y, data.y.name, s.yb, s.ye),
    ];
    if (s.layer.block) {
      return ['Block ' + s.n + ' \u2013 ' + s.layer.what].concat(where, [
        grouped(s.alignments) + (s.alignments === 1 ? ' alignment' : ' alignments') + ', score ' + s.score + identity,
        'strand ' + (s.minus ? '\u2212' : '+')]);
    }
    // An alignment in several chains names them all.
    const roles = segments.filter((t) => !t.layer.block && t.n === s.n && shown(t.layer.id)).map((t) => t.layer.what);
    return ['Alignment ' + grouped(s.n) + ' \u2013 ' + roles.join(', ')].concat(where, [
      'length ' + grouped(s.xe - s.xb + 1) + ' bp, score ' + s.score + identity + ', strand ' + (s.minus ? '\u2212' : '+')]);
  }

  let mark = null;
  let pinned = false;  // the tip stays, selectable, until a click elsewhere
  function showTip(s, p) {
    tipText.replaceChildren();
    tipLines(s).forEach((text, i) => {
      const line = document.createElement(i === 0 ? 'b' : 'div');
      line.textContent = text;
      tipText.appendChild(line);
    });
    tip.hidden = false;
    const left = data.plotLeft + p.x + 14;
    tip.style.left = Math.min(left, data.plotLeft + size - tip.offsetWidth + 40) + 'px';
    tip.style.top = (data.plotTop + p.y + 14) + 'px';
    if (!mark) mark = element('line', { id: 'hover-mark' }, plot);
    mark.setAttribute('x1', s.x1); mark.setAttribute('y1', s.y1);
    mark.setAttribute('x2', s.x2); mark.setAttribute('y2', s.y2);
  }
  function hideTip() {
    if (pinned) return;
    tip.hidden = true;
    if (mark) { mark.remove(); mark = null; }
  }
  function pin(s, p) {
    pinned = false;
    showTip(s, p);
    pinned = true;
    tip.classList.add('pinned');
  }
  function unpin() {
    pinned = false;
    tip.classList.remove('pinned');
    hideTip();
  }
  // Selects the pinned text and copies it; where the clipboard is not
  // granted (a page opened from a file may not be), the selection stays
  // for the reader's own copy.
  document.getElementById('copy').addEventListener('click', () => {
    window.getSelection().selectAllChildren(tipText);
    const text = Array.from(tipText.children).map((line) => line.textContent).join('\n');
    if (navigator.clipboard) navigator.clipboard.writeText(text).catch(() => {});
  });

  let drag = null;  // where a drag began, and its rectangle
  root.addEventListener('mousedown', (event) => {
    const p = pointer(event);
    if (event.button !== 0 || !inPlot(p)) return;
    event.preventDefault();
    drag = { start: p, box: element('rect', { id: 'zoom-box', x: 0, y: 0, width: 0, height: 0 }, root) };
  });
  window.addEventListener('mousemove', (event) => {
    const p = pointer(event);
    if (drag) {
      const x = Math.max(0, Math.min(size, p.x)), y = Math.max(0, Math.min(size, p.y));
      drag.box.setAttribute('x', data.plotLeft + Math.min(x, drag.start.x));
      drag.box.setAttribute('y', data.plotTop + Math.min(y, drag.start.y));
      drag.box.setAttribute('width', Math.abs(x - drag.start.x));
      drag.box.setAttribute('height', Math.abs(y - drag.start.y));
      return;
    }
    if (pinned) return;
    const s = inPlot(p) ? segmentAt(p) : null;
    if (s) showTip(s, p); else hideTip();
  });
  window.addEventListener('mouseup', (event) => {
    if (!drag) return;
    const box = drag.box;
    const w = Number(box.getAttribute('width')), h = Number(box.getAttribute('height'));
    box.remove();
    const start = drag.start;
    drag = null;
    if (w < MIN_DRAG || h < MIN_DRAG) {
      // A click: pins the details of the segment there, or unpins them.
      const s = segmentAt(start);
      if (s) pin(s, start); else unpin();
      return;
    }
    const next = {
      x: view.x + (Number(box.getAttribute('x')) - data.plotLeft) * view.w / size,
      y: view.y + (Number(box.getAttribute('y')) - data.plotTop) * view.h / size,
      w: w * view.w / size, h: h * view.h / size,
    };
    // Never closer than MIN_SPAN bases on either axis.
    const minW = MIN_SPAN * size / (data.x.end - data.x.origin);
    const minH = MIN_SPAN * size / (data.y.end - data.y.origin);
    if (next.w < minW) { next.x -= (minW - next.w) / 2; next.w = minW; }
    if (next.h < minH) { next.y -= (minH - next.h) / 2; next.h = minH; }
    zoomTo(next);
  });
  root.addEventListener('dblclick', (event) => {
    if (!inPlot(pointer(event)) || views.length === 0) return;
    view = views.pop();
    showView();
  });
  root.addEventListener('mouseleave', () => { if (!drag) hideTip(); });

  for (const box of checkboxes) {
    box.addEventListener('change', () => {
      document.getElementById(box.dataset.layer).style.display = box.checked ? '' : 'none';
      unpin();
    });
  }
  document.addEventListener('keydown', (event) => { if (event.key === 'Escape') unpin(); });

  // The jump list: each sequence pair with alignments, zoomed to its cell.
  const jump = document.getElementById('jump');
  if (jump) {
    const bands = data.bands;
    for (const [r, q, count] of data.pairs) {
      const option = document.createElement('option');
      option.value = r + ',' + q;
      option.textContent = bands.x[r][2] + ' \u00d7 ' + bands.y[q][2] + ' (' + grouped(count) + ')';
      jump.appendChild(option);
    }
    jump.addEventListener('change', () => {
      if (jump.value === '') {
        views.length = 0;
        view = { x: 0, y: 0, w: size, h: size };
        showView();
        return;
      }
      const [r, q] = jump.value.split(',').map(Number);
      const [xOffset, xLength] = bands.x[r], [yOffset, yLength] = bands.y[q];
      const x = toPixel(data.x, xOffset), top = size - toPixel(data.y, yOffset + yLength);
      zoomTo({ x: x, y: top, w: toPixel(data.x, xOffset + xLength) - x, h: size - toPixel(data.y, yOffset) - top });
    });
  }

  // The filter: alignments drawn as lines below the length (reference
  // bases) or identity are hidden; the pixel cells, which stand for many
  // alignments each, are hidden while a filter is set. Blocks stay.
  const minLength = document.getElementById('min-length');
  const minIdentity = document.getElementById('min-identity');
  const status = document.getElementById('filter-status');
  function applyFilter() {
    const length = Number(minLength.value) || 0, identity = minIdentity ? Number(minIdentity.value) || 0 : 0;
    const filtering = length > 0 || identity > 0;
    let passing = 0, total = 0;
    const paths = new Map();  // strand layer id -> path data of its passing segments
    for (const s of segments) {
      if (s.layer.block) continue;
      s.passes = s.xe - s.xb + 1 >= length && (identity === 0 || s.identity >= identity);
      total += 1;
      passing += s.passes ? 1 : 0;
      if (s.layer.id.startsWith('chain-')) continue;
      if (!paths.has(s.layer.id)) paths.set(s.layer.id, []);
      if (s.passes) paths.get(s.layer.id).push('M' + s.x1.toFixed(2) + ' ' + s.y1.toFixed(2) + 'L' + s.x2.toFixed(2) + ' ' + s.y2.toFixed(2));
    }
    for (const [id, parts] of paths) {
      const path = document.getElementById(id + '-lines');
      if (!path) continue;
      if (!path.dataset.whole) path.dataset.whole = path.getAttribute('d');
      path.setAttribute('d', filtering ? parts.join('') : path.dataset.whole);
    }
    const chainPaths = document.querySelectorAll('#plot .chain path[data-n]');
    const passes = new Set(segments.filter((s) => s.passes && s.layer.id.startsWith('chain-')).map((s) => s.layer.id + ':' + s.n));
    for (const path of chainPaths) {
      const key = path.parentNode.id + ':' + path.dataset.n;
      path.style.display = passes.has(key) ? '' : 'none';
    }
    for (const path of document.querySelectorAll('#plot g:not(.blocks) > path.cells')) path.style.display = filtering ? 'none' : '';
    const cells = document.querySelectorAll('#plot g:not(.blocks) > path.cells').length > 0;
    status.textContent = !filtering ? '' : grouped(passing) + ' of ' + grouped(total) + ' alignments drawn as lines shown' +
      (cells ? '; pixel cells hidden' : '');
    document.body.dataset.shown = passing;
    unpin();
  }
  for (const field of [minLength, minIdentity]) if (field) field.addEventListener('input', applyFilter);
  document.body.dataset.ready = 'yes';
})();
