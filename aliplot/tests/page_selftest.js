// Added to a copy of a plot page by the page tests, after the page's own
// script: drives the page with synthetic pointer, key and input events and
// writes what it found into body[data-selftest]: "pass", or the failures;
// and what the DOM holds into body[data-counts] (segments in the page's
// data, block elements, jump-list pairs), for the test to compare with its
// input.
(function () {
  'use strict';
  const failures = [];
  const check = (ok, what) => { if (!ok) failures.push(what); };
  const root = document.getElementById('dotplot');
  const plot = document.getElementById('plot');
  const tip = document.getElementById('tip');
  const fire = (target, type, x, y) =>
    target.dispatchEvent(new MouseEvent(type, { clientX: x, clientY: y, bubbles: true, button: 0 }));
  const tickLabels = (id) => Array.from(document.querySelectorAll('#' + id + ' text')).map((t) => t.textContent).join('|');

  const data = JSON.parse(document.getElementById('plot-data').textContent);

  // Hovering over the middle of a chain member names it; without chains, a
  // block's, with the alignments on it switched off.
  const member = document.querySelector('.chain path[data-n]') || document.querySelector('.blocks path[data-block]');
  const named = member.dataset.n ? 'Alignment ' + member.dataset.n + ' ' : 'Block ' + member.dataset.block + ' ';
  const strandBoxes = Array.from(document.querySelectorAll('#controls input[data-layer="plus"], #controls input[data-layer="minus"]'));
  if (!member.dataset.n) strandBoxes.forEach((input) => input.click());
  const box = member.getBoundingClientRect();
  const middle = [box.left + box.width / 2, box.top + box.height / 2];
  fire(window, 'mousemove', middle[0], middle[1]);
  check(!tip.hidden && tip.textContent.includes(named), 'hover over ' + named + 'shows "' + tip.textContent + '"');

  // A click pins the details: they stay when the pointer moves on, can be
  // selected, and Escape lets them go.
  fire(root, 'mousedown', middle[0], middle[1]);
  fire(window, 'mouseup', middle[0], middle[1]);
  fire(window, 'mousemove', middle[0] + 300, middle[1] + 300);
  check(!tip.hidden && tip.classList.contains('pinned') && tip.textContent.includes(named), 'a click pins the details');
  check(getComputedStyle(tip).userSelect !== 'none' && getComputedStyle(document.getElementById('copy')).display !== 'none',
        'pinned details can be selected and copied');
  document.getElementById('copy').click();
  check(window.getSelection().toString().includes(named.trim()), 'copy leaves the text selected: "' + window.getSelection() + '"');
  document.dispatchEvent(new KeyboardEvent('keydown', { key: 'Escape' }));
  check(tip.hidden && !tip.classList.contains('pinned'), 'Escape unpins the details');
  if (!member.dataset.n) strandBoxes.forEach((input) => input.click());

  // Dragging over the top left quarter zooms into it; double-click goes back.
  const area = root.getBoundingClientRect();
  const left = area.left + Number(plot.getAttribute('x')), top = area.top + Number(plot.getAttribute('y'));
  const size = Number(plot.getAttribute('width'));
  const xLabels = tickLabels('x-ticks'), yLabels = tickLabels('y-ticks');
  fire(root, 'mousedown', left + 10, top + 10);
  fire(window, 'mousemove', left + size / 4, top + size / 4);
  fire(window, 'mouseup', left + size / 4, top + size / 4);
  const view = plot.getAttribute('viewBox').split(' ').map(Number);
  check(Math.abs(view[0] - 10) < 0.5 && Math.abs(view[2] - (size / 4 - 10)) < 0.5,
        'a drag zooms into its rectangle, viewBox ' + view.join(' '));
  // Ticks follow the zoom; a canvas of several hides its sequence names.
  if (data.bands)
    check(getComputedStyle(document.getElementById('x-ticks')).display === 'none', 'the names are hidden while zoomed');
  else
    check(tickLabels('x-ticks') !== xLabels && tickLabels('y-ticks') !== yLabels, 'the axes follow the zoom');
  fire(root, 'dblclick', left + 50, top + 50);
  check(plot.getAttribute('viewBox') === '0 0 ' + size + ' ' + size, 'double-click goes back');
  // The page's ticks at full view are the program's.
  check(tickLabels('x-ticks') === xLabels, 'x ticks redrawn as first drawn: ' + tickLabels('x-ticks') + ' vs ' + xLabels);
  check(tickLabels('y-ticks') === yLabels, 'y ticks redrawn as first drawn: ' + tickLabels('y-ticks') + ' vs ' + yLabels);

  // Every toggle hides its layer and shows it again.
  for (const input of document.querySelectorAll('#controls input[data-layer]')) {
    const layer = document.getElementById(input.dataset.layer);
    input.click();
    check(layer && getComputedStyle(layer).display === 'none', 'unticking ' + input.dataset.layer + ' hides it');
    input.click();
    check(layer && getComputedStyle(layer).display !== 'none', 'ticking ' + input.dataset.layer + ' shows it');
  }
  // The jump list zooms to a pair's cell and back to the whole canvas.
  const jump = document.getElementById('jump');
  if (jump) {
    const option = jump.options[jump.options.length - 1];
    jump.value = option.value;
    jump.dispatchEvent(new Event('change'));
    const [r, q] = option.value.split(',').map(Number);
    const px = (axis, v) => (v - axis.origin) * size / (axis.end - axis.origin);
    const xBand = data.bands.x[r], yBand = data.bands.y[q];
    const want = [px(data.x, xBand[0]), size - px(data.y, yBand[0] + yBand[1]),
                  px(data.x, xBand[0] + xBand[1]) - px(data.x, xBand[0]), px(data.y, yBand[0] + yBand[1]) - px(data.y, yBand[0])];
    const got = plot.getAttribute('viewBox').split(' ').map(Number);
    check(want.every((v, i) => Math.abs(v - got[i]) < 1e-6), 'jump to ' + option.textContent + ': viewBox ' + got + ', want ' + want);
    jump.value = '';
    jump.dispatchEvent(new Event('change'));
    check(plot.getAttribute('viewBox') === '0 0 ' + size + ' ' + size, 'the whole canvas again after the jump');
  }

  // The filter hides the alignments below the length (and identity), and
  // only those; clearing it shows them all again.
  const alignments = [];
  for (const layer of data.layers) {
    if (layer.id.startsWith('blocks-')) continue;
    for (let i = 0; i < layer.segments.length; i += 8) alignments.push({ length: layer.segments[i + 3] + 1, identity: layer.segments[i + 7] });
  }
  const lengths = alignments.map((a) => a.length).sort((a, b) => a - b);
  const threshold = lengths[Math.floor(lengths.length / 2)];
  const drawnLines = () => {
    let count = 0;
    for (const path of document.querySelectorAll('#plot path.lines')) count += (path.getAttribute('d').match(/M/g) || []).length;
    for (const path of document.querySelectorAll('#plot .chain path[data-n]')) count += path.style.display === 'none' ? 0 : 1;
    return count;
  };
  const setField = (id, value) => {
    const field = document.getElementById(id);
    if (!field) return false;
    field.value = value;
    field.dispatchEvent(new Event('input'));
    return true;
  };
  const allLines = drawnLines();
  setField('min-length', String(threshold));
  const longEnough = alignments.filter((a) => a.length >= threshold).length;
  check(drawnLines() === longEnough && Number(document.body.dataset.shown) === longEnough,
        'min. length ' + threshold + ': ' + drawnLines() + ' lines drawn, ' + longEnough + ' alignments as long');
  if (setField('min-identity', '90')) {
    const both = alignments.filter((a) => a.length >= threshold && a.identity >= 90).length;
    check(drawnLines() === both, 'min. identity 90: ' + drawnLines() + ' lines drawn, ' + both + ' alignments pass');
    setField('min-identity', '');
  }
  setField('min-length', '');
  check(drawnLines() === allLines, 'clearing the filter shows every line again');

  document.body.dataset.counts = [alignments.length, document.querySelectorAll('#plot [data-block]').length,
                                  jump ? jump.options.length - 1 : 0].join(',');
  document.body.dataset.selftest = failures.length ? failures.join('; ') : 'pass';
})();
