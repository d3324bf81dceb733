// The traffic log: every line the server sent, filtered by kind and text,
// drawn as a window of rows over the lines kept. The kinds, their labels and
// their colours come from the server's first event.
import { $, el, showMessage } from './dom.js';

const maxLines = 100000;
const rowHeight = 18;
// New lines are drawn at most every 100 ms, so that a flood of them leaves
// the page time for clicks; scrolling and filtering are drawn at once.
const logInterval = 100;

const log = {
  kinds: new Map(), // name -> {name, label, colour, background}
  hidden: new Set(), // names of the kinds filtered out
  lines: [], // every line kept, oldest first
  view: [], // the lines that pass the filters
  lastSeq: 0,
  missed: 0,
  search: '',
  dirty: false,
  drawnAt: 0,
  problems: 0,
  foundAt: -1,
};

function passes(line) {
  return !log.hidden.has(line.k) && (!log.search || line.x.includes(log.search));
}

// The kinds of line as the server names them: a filter and colours for each.
export function setKinds(kinds) {
  log.kinds = new Map(kinds.map((kind) => [kind.name, kind]));
  const box = $('log-filters');
  box.replaceChildren();
  for (const kind of kinds) {
    const check = el('input', { type: 'checkbox', id: 'show-' + kind.name });
    check.checked = !log.hidden.has(kind.name);
    check.addEventListener('change', () => {
      if (check.checked) log.hidden.delete(kind.name); else log.hidden.add(kind.name);
      refilter();
    });
    box.append(el('label', { class: 'check' }, check, ' ' + kind.label));
  }
  refilter();
}

export function addLines(batch) {
  for (const line of batch) {
    if (line.seq <= log.lastSeq) continue; // sent again after a reconnection
    log.lastSeq = line.seq;
    log.lines.push(line);
    if (line.k === 'problem') ++log.problems;
    if (passes(line)) log.view.push(line);
  }
  if (log.lines.length > maxLines) {
    // Dropped in one go, a tenth at a time, so that a steady stream does not
    // shift the array on every line.
    const drop = log.lines.length - maxLines + Math.floor(maxLines / 10);
    const first = log.lines[drop].seq;
    log.missed += drop;
    log.lines = log.lines.slice(drop);
    let keep = 0;
    while (keep < log.view.length && log.view[keep].seq < first) ++keep;
    log.view = log.view.slice(keep);
  }
  scheduleLog();
}

// Lines the server could not keep for this page.
export function addMissed(count) {
  log.missed += count;
  scheduleLog();
}

function refilter() {
  log.view = log.lines.filter(passes);
  scheduleLog(true);
}

function scheduleLog(urgent) {
  if (log.dirty) return;
  log.dirty = true;
  const wait = urgent ? 0 : Math.max(0, log.drawnAt + logInterval - performance.now());
  if (wait === 0) requestAnimationFrame(renderLog);
  else setTimeout(() => requestAnimationFrame(renderLog), wait);
}

// Only the rows in sight are in the page, whatever the number of lines.
function renderLog() {
  log.dirty = false;
  log.drawnAt = performance.now();
  const view = log.view;
  const box = $('log');
  $('log-spacer').style.height = (view.length * rowHeight) + 'px';
  if ($('log-follow').checked) box.scrollTop = box.scrollHeight;
  const first = Math.max(0, Math.floor(box.scrollTop / rowHeight) - 5);
  const count = Math.ceil(box.clientHeight / rowHeight) + 10;
  const rows = $('log-rows');
  rows.style.top = (first * rowHeight) + 'px';
  const shown = [];
  for (let i = first; i < Math.min(view.length, first + count); ++i) {
    const line = view[i];
    const text = line.x.replace(/\n$/, '').replace(/\n/g, ' ⏎ ');
    const kind = log.kinds.get(line.k);
    const label = el('span', { class: 'k', text: kind ? kind.label : line.k });
    const row = el('div', { class: 'line k-' + line.k + (i === log.foundAt ? ' found' : ''),
                            dataset: { seq: line.seq } },
                   el('span', { class: 't', text: line.t + ' ms' }), label,
                   el('span', { class: 'x', text }));
    // The kind's colours, as the server gave them.
    if (kind && kind.colour) row.style.color = label.style.color = kind.colour;
    if (kind && kind.background) row.style.background = kind.background;
    shown.push(row);
  }
  rows.replaceChildren(...shown);
  const problems = log.problems;
  $('log-count').textContent = '· ' + view.length + ' of ' + log.lines.length + ' lines' +
      (log.missed ? ' (' + log.missed + ' older dropped)' : '') +
      (problems ? ' · ' + problems + ' problem' + (problems === 1 ? '' : 's') : '');
}

function nextProblem() {
  const view = log.view;
  for (let i = 1; i <= view.length; ++i) {
    const at = (log.foundAt + i) % view.length;
    if (view[at].k === 'problem') {
      log.foundAt = at;
      $('log-follow').checked = false;
      $('log').scrollTop = Math.max(0, at * rowHeight - $('log').clientHeight / 2);
      scheduleLog(true);
      return;
    }
  }
  showMessage('No problem in the lines shown.', 'info');
}

export function wireLog() {
  let searchTimer = 0;
  $('log-search').addEventListener('input', () => {
    clearTimeout(searchTimer);
    searchTimer = setTimeout(() => {
      log.search = $('log-search').value;
      refilter();
    }, 120);
  });
  $('log').addEventListener('scroll', () => {
    const box = $('log');
    const atEnd = box.scrollTop + box.clientHeight >= box.scrollHeight - rowHeight;
    if (!atEnd && $('log-follow').checked && !log.dirty) $('log-follow').checked = false;
    scheduleLog(true);
  }, { passive: true });
  $('log-follow').addEventListener('change', () => scheduleLog(true));
  $('log-problem').addEventListener('click', nextProblem);
}
