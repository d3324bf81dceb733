// The routers as crosspoint matrices, the cue router first; a click on a
// crosspoint routes it as another panel would.
import { act } from './actions.js';
import { $, el } from './dom.js';
import { facility } from './facility.js';

const maxColumns = 64;
const maxRows = 64;

export function renderRouters() {
  const state = facility.state;
  const box = $('routers');
  box.replaceChildren();
  const routers = state.routers || [];
  if (routers.length === 0) {
    box.append(el('p', { class: 'empty', text: 'No router has crosspoints or registrations.' }));
  }
  // The cue router first: it is the one the component works with.
  const cue = facility.hello.choices.cueRouter;
  const ordered = [...routers].sort((a, b) =>
    (a.device === cue ? -1 : 0) - (b.device === cue ? -1 : 0) || a.device - b.device);
  for (const router of ordered) box.append(matrixOf(router, router.device === cue));
  const faults = $('faults');
  faults.replaceChildren(...(state.faults || []).map((text) => el('li', { text })));
  if (!$('fault-device').value && cue !== null) $('fault-device').value = cue;
}

function matrixOf(router, isCue) {
  const routes = new Map(router.crosspoints);
  const registered = (destination) =>
    router.registered.some(([first, last]) => destination >= first && destination <= last);
  const destinations = new Set(router.crosspoints.map(([d]) => d));
  for (const [first, last] of router.registered) {
    for (let d = first; d <= last && destinations.size < maxRows * 4; ++d) destinations.add(d);
  }
  const rows = [...destinations].sort((a, b) => a - b).slice(0, maxRows);
  let highest = 16;
  for (const [, source] of router.crosspoints) highest = Math.max(highest, source);
  const columns = [];
  for (let s = 1; s <= Math.min(highest, maxColumns); ++s) columns.push(s);
  const last = router.last;

  const head = el('tr', {}, el('th', { class: 'corner', text: 'dst \\ src' }),
                  ...columns.map((s) => el('th', { text: String(s) })));
  const body = rows.map((d) => el('tr', {},
      el('th', { class: registered(d) ? 'registered' : '', text: String(d),
                 title: registered(d) ? 'the component gets its status' : 'not registered' }),
      ...columns.map((s) => {
        const on = routes.get(d) === s;
        const isLast = last && last.destination === d && last.source === s;
        return el('td', {
          class: (on ? 'on' : '') + (isLast ? ' last' : ''),
          title: 'destination ' + d + ' ← source ' + s + (on ? ' (routed)' : ''),
          dataset: { device: router.device, destination: d, source: s },
          onclick: () => act({ do: 'route', device: router.device, source: s, destination: d }),
        });
      })));
  const notes = [];
  if (rows.length < destinations.size) notes.push('first ' + maxRows + ' destinations shown');
  if (highest > maxColumns) notes.push('sources above ' + maxColumns + ' not shown');
  const elsewhere = router.crosspoints.filter(([, s]) => s < 1 || s > maxColumns);
  for (const [d, s] of elsewhere) notes.push('destination ' + d + ' ← source ' + s);
  return el('div', { class: 'router', id: 'router-' + router.device },
    el('h3', { text: 'Router ' + router.device + (isCue ? ' (cue router)' : '') }),
    el('div', { class: 'meta', text:
      'fault: ' + router.fault +
      (last ? ' · last change: destination ' + last.destination + ' ← source ' + last.source +
              ' at ' + last.t + ' ms' : '') +
      (notes.length ? ' · ' + notes.join(', ') : '') }),
    el('div', { class: 'matrix-wrap' },
       el('table', { class: 'matrix' }, el('thead', {}, head), el('tbody', {}, ...body))));
}
