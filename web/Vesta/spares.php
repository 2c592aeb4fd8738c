<?php
// Spares: a free disk becomes a global spare, or a dedicated spare of an
// array (adapters with arrays); a spare becomes a free disk again.
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';

require_login();
$count = Controller::adapterCount();
$ok = $err = null;
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    $int = fn(string $k, int $max) => filter_var($_POST[$k] ?? null, FILTER_VALIDATE_INT,
        ['options' => ['min_range' => 0, 'max_range' => $max]]);
    $a = $int('adapter', max(0, $count - 1));
    $pd = $int('pd', 65534);
    $op = $_POST['op'] ?? '';
    $dg = $int('dg', 65534);
    if ($a === false || $pd === false || !in_array($op, ['global', 'dedicated', 'free'], true)
        || ($op === 'dedicated' && $dg === false)) {
        $err = 'Choose a disk, and an array for a dedicated spare.';
    } else {
        [$req, $params, $done] = match ($op) {
            'global' => ['KX_PD_FreeHD2GlobalSpare', ['HD_ID' => $pd], "PD $pd is a global spare now."],
            'dedicated' => ['KX_PD_FreeHD2DGSpare', ['HD_ID' => $pd, 'DG_ID' => $dg], "PD $pd is a spare of array $dg now."],
            'free' => ['KX_PD_Spare2FreeHD', ['HD_ID' => $pd], "PD $pd is a free disk now."],
        };
        $rc = Rpc::retval(Rpc::call($req, ['AdapterID' => $a] + $params));
        $ok = $rc === 0 ? $done : null;
        $err = $rc === 0 ? null : "The controller refused (PD $pd): " . Words::error($rc);
    }
}

function spare_button(int $a, int $pd, string $op, string $label, string $extra = ''): string
{
    return '<form method="post" action="spares.php" class="inline">' . csrf_field()
        . '<input type="hidden" name="adapter" value="' . $a . '"><input type="hidden" name="pd" value="' . $pd . '">'
        . '<input type="hidden" name="op" value="' . h($op) . '">' . $extra
        . '<button type="submit" id="' . h($op . '-' . $a . '-' . $pd) . '">' . h($label) . '</button></form> ';
}

page_head('Spares');
flash($ok, $err);
for ($a = 0; $a < $count; $a++) {
    $info = Controller::adapterInfo($a);
    $arrays = (int)($info['MaxDiskGroup'] ?? 0) !== 0 ? Controller::arrays($a)['list'] : [];
    echo '<section><h3>' . h(Controller::adapterTitle($a, $info)) . '</h3>';
    echo '<table id="spare-disks-' . $a . '"><tr><th>PD</th><th>Model</th><th>Size</th><th>State</th><th></th></tr>';
    foreach (Controller::pds($a)['list'] as $pd => $p) {
        $spare = str_contains($p['state'], 'spare');
        if (!$spare && $p['state'] !== 'free') {
            continue;
        }
        echo '<tr id="spare-pd-' . $a . '-' . $pd . '"><td>' . h($pd) . '</td><td>' . h(trim($p['Model'] ?? '')) . '</td><td>'
            . h(Words::size((int)($p['Size'] ?? 0))) . '</td><td class="state">' . h($p['state'])
            . ($p['state'] === 'dedicated spare' ? ' of array ' . h($p['DGID']) : '') . '</td><td>';
        if ($spare) {
            echo spare_button($a, $pd, 'free', 'Make it a free disk');
        } else {
            echo spare_button($a, $pd, 'global', 'Make it a global spare');
            if ($arrays !== []) {
                $select = '<select name="dg" id="dg-' . $a . '-' . $pd . '">';
                foreach ($arrays as $dg) {
                    $select .= '<option value="' . h($dg['DGID']) . '">array ' . h($dg['DGID']) . ' (' . h(trim($dg['Name'] ?? '')) . ')</option>';
                }
                echo spare_button($a, $pd, 'dedicated', 'Make it a dedicated spare', $select . '</select>');
            }
        }
        echo '</td></tr>';
    }
    echo '</table></section>';
}
page_foot();
