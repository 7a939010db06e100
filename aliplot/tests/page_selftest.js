// Added to a copy of a plot page by the page test, after the page's own
// script: drives the page with synthetic pointer events and writes what it
// found into body[data-selftest]: "pass", or the failures.
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

  // Hovering over the middle of a chain member names it.
  const member = document.querySelector('.chain path[data-n]');
  const box = member.getBoundingClientRect();
  fire(window, 'mousemove', box.left + box.width / 2, box.top + box.height / 2);
  check(!tip.hidden && tip.textContent.includes('Alignment ' + member.dataset.n + ' '),
        'hover over member ' + member.dataset.n + ' shows "' + tip.textContent + '"');

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
  document.body.dataset.selftest = failures.length ? failures.join('; ') : 'pass';
})();
