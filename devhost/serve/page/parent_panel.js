// The parent panel: the sources and destinations the component takes, from
// the server's first event, and the commands a parent panel sends.
import { act } from './actions.js';
import { $, el } from './dom.js';
import { facility } from './facility.js';

export function fillPickers() {
  const fill = (select, items, what) => {
    select.replaceChildren(el('option', { value: '', text: '— ' + what + ' —' }),
      ...items.map((item) => el('option', { value: String(item.number),
        text: item.number + (item.name ? ' · ' + item.name : '') })));
  };
  fill($('source'), facility.hello.choices.sources, 'source');
  fill($('destination'), facility.hello.choices.destinations, 'destination');
}

function sendSelection(word, value) {
  if (value === '' || value === null) return;
  act({ do: 'parent', text: word + '=' + value });
}

export function wireParentPanel() {
  $('source').addEventListener('change', () => sendSelection('Source', $('source').value));
  $('destination').addEventListener('change',
      () => sendSelection('Destination', $('destination').value));
  $('source-set').addEventListener('click',
      () => sendSelection('Source', $('source-number').value));
  $('destination-set').addEventListener('click',
      () => sendSelection('Destination', $('destination-number').value));
  $('take').addEventListener('click', () => act({ do: 'parent', text: 'Take=1' }));
  $('parent-form').addEventListener('submit', async (event) => {
    event.preventDefault();
    const answer = await act({ do: 'parent', text: $('parent-text').value });
    if (answer) $('parent-reply').textContent = answer.replied ? answer.reply : '(no reply)';
  });
}
