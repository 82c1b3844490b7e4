<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>fotavel::BarreExplorer</name>
    <message>
        <source>Explorer</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>Ouvrir une photo</source>
        <translation>Open a photo</translation>
    </message>
    <message>
        <source>Fermer l&apos;Exploreur</source>
        <translation>Close the browser</translation>
    </message>
    <message>
        <source>Prévisualisation</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Cliquez sur la photo pour l&apos;ouvrir</source>
        <translation>Click the photo to open it</translation>
    </message>
    <message>
        <source>Sélectionnez une photo.</source>
        <translation>Select a photo.</translation>
    </message>
    <message>
        <source>Le lecteur </source>
        <translation>Drive </translation>
    </message>
    <message>
        <source> n&apos;est pas prêt !</source>
        <translation> is not ready!</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Prévisualisation en cours...
</source>
        <translation>Loading preview...
</translation>
    </message>
    <message>
        <source>Erreur !</source>
        <translation>Error!</translation>
    </message>
</context>
<context>
    <name>fotavel::CropTool</name>
    <message>
        <source>Proportions du cadre</source>
        <translation>Frame proportions</translation>
    </message>
    <message>
        <source>Libre</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>Photo d&apos;origine</source>
        <translation>Original photo</translation>
    </message>
    <message>
        <source>1:1</source>
        <translation>1:1</translation>
    </message>
    <message>
        <source>4:3</source>
        <translation>4:3</translation>
    </message>
    <message>
        <source>3:2</source>
        <translation>3:2</translation>
    </message>
    <message>
        <source>16:9</source>
        <translation>16:9</translation>
    </message>
    <message>
        <source>10 × 15</source>
        <translation>4 × 6</translation>
    </message>
    <message>
        <source>Échanger portrait et paysage</source>
        <translation>Swap portrait and landscape</translation>
    </message>
    <message>
        <source>Recadrer</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Largeur :</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>Hauteur :</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>Recadrage : %1 x %2 pixels</source>
        <translation>Crop: %1 x %2 pixels</translation>
    </message>
    <message>
        <source>Recadrage : tracez le rectangle à garder</source>
        <translation>Crop: draw the rectangle to keep</translation>
    </message>
</context>
<context>
    <name>fotavel::FormAide</name>
    <message>
        <source> A propos de ...</source>
        <translation> About...</translation>
    </message>
    <message>
        <source> (Freeware)</source>
        <translation> (Freeware)</translation>
    </message>
    <message>
        <source>Auteur : </source>
        <translation>Author: </translation>
    </message>
    <message>
        <source>l&apos;atelier Fotavel</source>
        <translation>the Fotavel workshop</translation>
    </message>
    <message>
        <source>Site :</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Vos photos, retouchées d&apos;un clic, simplement.</source>
        <translation>Your photos, retouched in one click, simply.</translation>
    </message>
    <message>
        <source>(reportez-vous à la licence jointe)</source>
        <translation>(see the enclosed licence)</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>La licence est introuvable : le fichier<byte value="xd"/>
</source>
        <translation>The licence cannot be found: the file<byte value="xd"/>
</translation>
    </message>
    <message>
        <source><byte value="xd"/>
n&apos;existe pas.</source>
        <translation><byte value="xd"/>
does not exist.</translation>
    </message>
    <message>
        <source>Aucun programme n&apos;a pu ouvrir la licence<byte value="xd"/>
</source>
        <translation>No program could open the licence<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>fotavel::RedEyeTool</name>
    <message>
        <source>Cliquez sur chaque œil rouge, ou entourez-le d&apos;un rectangle.</source>
        <translation>Click each red eye, or draw a rectangle around it.</translation>
    </message>
    <message>
        <source>Terminer</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Garder les yeux corrigés et quitter l&apos;outil</source>
        <translation>Keep the corrected eyes and leave the tool</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Défaire les corrections faites avec l&apos;outil et le quitter</source>
        <translation>Undo the corrections made with the tool and leave it</translation>
    </message>
    <message>
        <source>Cliquez au milieu d&apos;un œil rouge, ou tracez un rectangle autour.</source>
        <translation>Click the middle of a red eye, or draw a rectangle around it.</translation>
    </message>
    <message>
        <source>Œil rouge corrigé. Cliquez sur le suivant, ou Échap pour finir.</source>
        <translation>Red eye corrected. Click the next one, or press Esc to finish.</translation>
    </message>
    <message>
        <source>Aucun œil rouge trouvé à cet endroit.</source>
        <translation>No red eye found here.</translation>
    </message>
</context>
<context>
    <name>fotavel::StraightenTool</name>
    <message>
        <source>Angle :</source>
        <translation>Angle:</translation>
    </message>
    <message>
        <source>Faites pivoter la photo par dixièmes de degré</source>
        <translation>Rotate the photo in tenths of a degree</translation>
    </message>
    <message>
        <source> °</source>
        <translation> °</translation>
    </message>
    <message>
        <source>Angle en degrés, positif dans le sens des aiguilles d&apos;une montre</source>
        <translation>Angle in degrees, positive clockwise</translation>
    </message>
    <message>
        <source>Coins blancs</source>
        <translation>White corners</translation>
    </message>
    <message>
        <source>Garder toute la photo pivotée sur un fond blanc au lieu de la recadrer</source>
        <translation>Keep the whole rotated photo on a white background instead of cropping it</translation>
    </message>
    <message>
        <source>Redresser</source>
        <translation>Straighten</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Tracez une ligne le long de l&apos;horizon ou d&apos;un mur, ou réglez l&apos;angle.</source>
        <translation>Draw a line along the horizon or a wall, or set the angle.</translation>
    </message>
</context>
<context>
    <name>fotavel::demarrage</name>
    <message>
        <source> de </source>
        <translation> by </translation>
    </message>
    <message>
        <source>l&apos;atelier Fotavel</source>
        <translation>the Fotavel workshop</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Version </translation>
    </message>
    <message>
        <source>Vos photos,</source>
        <translation>Your photos,</translation>
    </message>
    <message>
        <source>retouchées d&apos;un clic,</source>
        <translation>retouched in one click,</translation>
    </message>
    <message>
        <source>simplement.</source>
        <translation>simply.</translation>
    </message>
</context>
<context>
    <name>fotavel::fSauvJpg</name>
    <message>
        <source>Qualité de la photo</source>
        <translation>Photo quality</translation>
    </message>
    <message>
        <source>Sans perte</source>
        <translation>Lossless</translation>
    </message>
    <message>
        <source>Taille maximale du fichier</source>
        <translation>Maximum file size</translation>
    </message>
    <message>
        <source> Ko</source>
        <translation> KB</translation>
    </message>
    <message>
        <source>Qualité</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Faible</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Moyenne</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Elevée</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Maximale</source>
        <translation>Maximum</translation>
    </message>
</context>
<context>
    <name>fotavel::frmCombination</name>
    <message>
        <source>Image Combination</source>
        <translation>Combine Photos</translation>
    </message>
    <message>
        <source>Source Image &amp;1:</source>
        <translation>Source photo &amp;1:</translation>
    </message>
    <message>
        <source>Source Image &amp;2:</source>
        <translation>Source photo &amp;2:</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Offset:</translation>
    </message>
    <message>
        <source>Multiplier:</source>
        <translation>Multiplier:</translation>
    </message>
    <message>
        <source>&amp;Add Images</source>
        <translation>&amp;Add photos</translation>
    </message>
    <message>
        <source>&amp;Darkest</source>
        <translation>&amp;Darkest</translation>
    </message>
    <message>
        <source>&amp;Lightest</source>
        <translation>&amp;Lightest</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Taille de la photo après opération: %1 x %2</source>
        <translation>Photo size afterwards: %1 x %2</translation>
    </message>
    <message>
        <source>Erreur de valeur.</source>
        <translation>Invalid value.</translation>
    </message>
</context>
<context>
    <name>fotavel::frmImage</name>
    <message>
        <source>Fichiers Bitmap (*.BMP)|*.BMP|Fichiers Jpeg (*.JPG)|*.JPG|Fichiers PNG (*.PNG)|*.PNG|Fichiers WebP (*.WEBP)|*.WEBP|Fichiers AVIF (*.AVIF)|*.AVIF|Fichiers TIFF (*.TIF)|*.TIF;*.TIFF|Tous les fichiers (*.*)|*.*</source>
        <translation>Bitmap files (*.BMP)|*.BMP|JPEG files (*.JPG)|*.JPG|PNG files (*.PNG)|*.PNG|WebP files (*.WEBP)|*.WEBP|AVIF files (*.AVIF)|*.AVIF|TIFF files (*.TIF)|*.TIF;*.TIFF|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Enregistrer la photo</source>
        <translation>Save the photo</translation>
    </message>
    <message>
        <source>Erreur de sélection (code 213)!</source>
        <translation>Selection error (code 213)!</translation>
    </message>
    <message>
        <source>Taille 1:1</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>Réduire la photo à la taille de la  fenêtre</source>
        <translation>Fit the photo to the window</translation>
    </message>
    <message>
        <source>Zoom [+] : Bouton souris à gauche   /   Zoom [-] : Bouton souris à droite</source>
        <translation>Zoom in [+]: left mouse button   /   Zoom out [-]: right mouse button</translation>
    </message>
    <message>
        <source>Recadrer la photo</source>
        <translation>Crop the photo</translation>
    </message>
    <message>
        <source>Redresser la photo : tracez l&apos;horizon ou choisissez l&apos;angle</source>
        <translation>Straighten the photo: draw the horizon or choose the angle</translation>
    </message>
    <message>
        <source>Corriger les yeux rouges : cliquez sur chaque œil</source>
        <translation>Fix red eyes: click each eye</translation>
    </message>
    <message>
        <source>Zoom: %1 %</source>
        <translation>Zoom: %1%</translation>
    </message>
</context>
<context>
    <name>fotavel::frmNewSize</name>
    <message>
        <source> Taille de l&apos;image</source>
        <translation> Photo Size</translation>
    </message>
    <message>
        <source>En &amp;Pixels</source>
        <translation>In &amp;pixels</translation>
    </message>
    <message>
        <source>Largeur</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Hauteur</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>&amp;Conserver les proportions</source>
        <translation>&amp;Keep proportions</translation>
    </message>
    <message>
        <source>En P&amp;ourcentage</source>
        <translation>As a p&amp;ercentage</translation>
    </message>
    <message>
        <source>Pourcent</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>La largeur et la hauteur doivent être des nombres entiers d&apos;au moins 1 pixel.</source>
        <translation>The width and the height must be whole numbers of at least 1 pixel.</translation>
    </message>
    <message>
        <source>Cette taille est trop grande pour une photo : %1 x %2 pixels.</source>
        <translation>This size is too large for a photo: %1 x %2 pixels.</translation>
    </message>
</context>
<context>
    <name>fotavel::frmParamLogo</name>
    <message>
        <source>Fichiers images (*.JPG;*.PNG;*.GIF;*.BMP)|*.JPG;*.PNG;*.GIF;*.BMP|Fichiers Jpeg (*.JPG)|*.JPG|Fichiers Bitmap (*.BMP)|*.BMP|Fichiers PNG (*.PNG)|*.PNG|Fichiers GIF (*.GIF)|*.GIF</source>
        <translation>Image files (*.JPG;*.PNG;*.GIF;*.BMP)|*.JPG;*.PNG;*.GIF;*.BMP|JPEG files (*.JPG)|*.JPG|Bitmap files (*.BMP)|*.BMP|PNG files (*.PNG)|*.PNG|GIF files (*.GIF)|*.GIF</translation>
    </message>
    <message>
        <source>Paramétrage de votre logo</source>
        <translation>Your Logo Settings</translation>
    </message>
    <message>
        <source>%1 % de la taille totale de l&apos;image</source>
        <translation>%1% of the whole photo&apos;s size</translation>
    </message>
    <message>
        <source>%1 % de transparence</source>
        <translation>%1% transparency</translation>
    </message>
    <message>
        <source>Choisir / Changer de logo</source>
        <translation>Choose / Change the logo</translation>
    </message>
    <message>
        <source>Fichier :</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>&amp;Ouvrir...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Effacer</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Pour intégrer votre logo détouré dans vos photos, utilisez le format d&apos;image &quot;png 24&quot; pour un meilleur résultat.</source>
        <translation>To put a logo with a transparent background into your photos, use the &quot;PNG 24&quot; image format for the best result.</translation>
    </message>
    <message>
        <source>(Besoin d&apos;aide pour préparer votre logo ? Écrivez-nous à aide@fotavel.example.org)</source>
        <translation>(Need help preparing your logo? Write to us at aide@fotavel.example.org)</translation>
    </message>
    <message>
        <source>Emplacement du logo dans la photo</source>
        <translation>Where the logo goes in the photo</translation>
    </message>
    <message>
        <source>Position horizontale</source>
        <translation>Horizontal position</translation>
    </message>
    <message>
        <source>(par rapport à la largeur de la photo)</source>
        <translation>(relative to the photo&apos;s width)</translation>
    </message>
    <message>
        <source>Position verticale</source>
        <translation>Vertical position</translation>
    </message>
    <message>
        <source>(par rapport à la hauteur de la photo)</source>
        <translation>(relative to the photo&apos;s height)</translation>
    </message>
    <message>
        <source>Taille du logo</source>
        <translation>Logo size</translation>
    </message>
    <message>
        <source>Proportion :</source>
        <translation>Proportion:</translation>
    </message>
    <message>
        <source>10 % de la taille totale de l&apos;image</source>
        <translation>10% of the whole photo&apos;s size</translation>
    </message>
    <message>
        <source>Transparence du logo</source>
        <translation>Logo transparency</translation>
    </message>
    <message>
        <source>Translucide :</source>
        <translation>Translucent:</translation>
    </message>
    <message>
        <source>0 % de transparence</source>
        <translation>0% transparency</translation>
    </message>
    <message>
        <source>Rotation du logo</source>
        <translation>Logo rotation</translation>
    </message>
    <message>
        <source>Angle :</source>
        <translation>Angle:</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>X à 50 % : Logo centré horizontalement</source>
        <translation>X at 50%: logo centred horizontally</translation>
    </message>
    <message>
        <source>X à %1 % de la largeur de l&apos;image</source>
        <translation>X at %1% of the photo&apos;s width</translation>
    </message>
    <message>
        <source>Y à 50 % : Logo centré verticalement</source>
        <translation>Y at 50%: logo centred vertically</translation>
    </message>
    <message>
        <source>Y à %1 % de la hauteur de l&apos;image</source>
        <translation>Y at %1% of the photo&apos;s height</translation>
    </message>
    <message>
        <source>Sélectionnez votre logo</source>
        <translation>Select your logo</translation>
    </message>
    <message>
        <source>Etes vous sûr de vouloir supprimer le logo précédemment configuré dans le logiciel ?</source>
        <translation>Are you sure you want to delete the logo set up earlier in the program?</translation>
    </message>
</context>
<context>
    <name>fotavel::frmProprietes</name>
    <message>
        <source> octets</source>
        <translation> bytes</translation>
    </message>
    <message>
        <source> Ko</source>
        <translation> KB</translation>
    </message>
    <message>
        <source> Mo</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>Propriétés de </source>
        <translation>Properties of </translation>
    </message>
    <message>
        <source>inconnue</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Dossier</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Dimensions</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 pixels</translation>
    </message>
    <message>
        <source>Taille sur le disque</source>
        <translation>Size on disk</translation>
    </message>
    <message>
        <source>Créé le</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Modifié le</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Dernier accès</source>
        <translation>Last opened</translation>
    </message>
    <message>
        <source>Fichier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>pas encore enregistrée</source>
        <translation>not saved yet</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>fotavel::frmReglages</name>
    <message>
        <source>Réglages</source>
        <translation>Adjustments</translation>
    </message>
    <message>
        <source>&amp;Luminosité</source>
        <translation>&amp;Brightness</translation>
    </message>
    <message>
        <source>&amp;Contraste</source>
        <translation>&amp;Contrast</translation>
    </message>
    <message>
        <source>&amp;Saturation</source>
        <translation>&amp;Saturation</translation>
    </message>
    <message>
        <source>C&amp;haleur</source>
        <translation>&amp;Warmth</translation>
    </message>
    <message>
        <source>&amp;Automatique</source>
        <translation>&amp;Automatic</translation>
    </message>
    <message>
        <source>Règle les curseurs d&apos;après les couleurs de la photo</source>
        <translation>Sets the sliders from the photo&apos;s colours</translation>
    </message>
    <message>
        <source>&amp;Réinitialiser</source>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>Voir l&apos;&amp;original</source>
        <translation>Show &amp;original</translation>
    </message>
    <message>
        <source>Maintenez ce bouton enfoncé, ou la touche O, pour voir la photo d&apos;origine</source>
        <translation>Hold this button down, or the O key, to see the original photo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>fotavel::mfrmMain</name>
    <message>
        <source>Erreur lors de l&apos;opération &apos;Coller&apos;: </source>
        <translation>Error while pasting: </translation>
    </message>
    <message>
        <source>La photo n&apos;a pas besoin d&apos;être améliorée.</source>
        <translation>The photo does not need enhancing.</translation>
    </message>
    <message>
        <source>Erreur à l&apos;importation ! Vérifiez que vous avez bien sélectionné une image.</source>
        <translation>Import error! Check that you have selected a picture.</translation>
    </message>
    <message>
        <source>La photo n&apos;a pas pu être copiée dans le presse-papiers.</source>
        <translation>The photo could not be copied to the clipboard.</translation>
    </message>
    <message>
        <source>La photo est dans le presse-papiers, mais elle n&apos;y resterait pas après la fermeture de Fotavel : collez-la dans l&apos;éditeur d&apos;affiches avant de fermer.</source>
        <translation>The photo is on the clipboard, but it would not stay there once Fotavel is closed: paste it into the poster editor before closing.</translation>
    </message>
    <message>
        <source>La photo :<byte value="xd"/>
</source>
        <translation>The photo:<byte value="xd"/>
</translation>
    </message>
    <message>
        <source><byte value="xd"/>
est déjà ouverte !<byte value="xd"/>
<byte value="xd"/>
Voulez vous en ouvrir une copie ?</source>
        <translation><byte value="xd"/>
is already open!<byte value="xd"/>
<byte value="xd"/>
Do you want to open a copy of it?</translation>
    </message>
    <message>
        <source>%1 octets</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>%1 Ko</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Photo enregistrée en qualité %1 : %2</source>
        <translation>Photo saved at quality %1: %2</translation>
    </message>
    <message>
        <source>Pour ne pas dépasser %1, la photo a été enregistrée en %2 x %3 pixels.<byte value="xd"/>
La photo de la fenêtre garde sa taille.</source>
        <translation>To stay within %1, the photo was saved at %2 x %3 pixels.<byte value="xd"/>
The photo in the window keeps its size.</translation>
    </message>
    <message>
        <source>&amp;Ouvrir et fermer l&apos;exploreur</source>
        <translation>&amp;Show or hide the browser</translation>
    </message>
    <message>
        <source>&amp;Enregistrer sous</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>&amp;Imprimer</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;Retour à l&apos;éditeur sans importer mon travail</source>
        <translation>&amp;Back to the editor without importing my work</translation>
    </message>
    <message>
        <source>Importer mon &amp;travail dans l&apos;éditeur</source>
        <translation>Import my &amp;work into the editor</translation>
    </message>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Rétablir</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Copier</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Co&amp;ller</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Re&amp;tailler la photo</source>
        <translation>Re&amp;size the photo</translation>
    </message>
    <message>
        <source>R&amp;ecadrer…</source>
        <translation>Cr&amp;op…</translation>
    </message>
    <message>
        <source>Re&amp;dresser…</source>
        <translation>S&amp;traighten…</translation>
    </message>
    <message>
        <source>&amp;Yeux rouges</source>
        <translation>Red &amp;eyes</translation>
    </message>
    <message>
        <source>&amp;Propriétés</source>
        <translation>Propert&amp;ies</translation>
    </message>
    <message>
        <source>Masquer</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>Sharpen</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>Blur</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Ciel</source>
        <translation>Sky</translation>
    </message>
    <message>
        <source>Droite</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Gauche</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Colorer</source>
        <translation>Vivid</translation>
    </message>
    <message>
        <source>Ternir</source>
        <translation>Muted</translation>
    </message>
    <message>
        <source>Plus Cl&amp;air</source>
        <translation>&amp;Lighter</translation>
    </message>
    <message>
        <source>Plus S&amp;ombre</source>
        <translation>&amp;Darker</translation>
    </message>
    <message>
        <source>Format Web</source>
        <translation>Web Size</translation>
    </message>
    <message>
        <source>Diffusion</source>
        <translation>Diffuse</translation>
    </message>
    <message>
        <source>Trouver Contours</source>
        <translation>Find Edges</translation>
    </message>
    <message>
        <source>Effet Photocopie</source>
        <translation>Photocopy Effect</translation>
    </message>
    <message>
        <source>Négatif</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>Plume Calligraphique</source>
        <translation>Calligraphy Pen</translation>
    </message>
    <message>
        <source>Niveaux de &amp;Gris</source>
        <translation>&amp;Greyscale</translation>
    </message>
    <message>
        <source>&amp;Réglages…</source>
        <translation>&amp;Adjustments…</translation>
    </message>
    <message>
        <source>A&amp;mélioration automatique</source>
        <translation>Auto-&amp;enhance</translation>
    </message>
    <message>
        <source>Combiner</source>
        <translation>Combine</translation>
    </message>
    <message>
        <source>Soften</source>
        <translation>Soften</translation>
    </message>
    <message>
        <source>Soften More</source>
        <translation>Soften More</translation>
    </message>
    <message>
        <source>Blur More</source>
        <translation>Blur More</translation>
    </message>
    <message>
        <source>Sharpen More</source>
        <translation>Sharpen More</translation>
    </message>
    <message>
        <source>Unsharp</source>
        <translation>Unsharp Mask</translation>
    </message>
    <message>
        <source>&amp;Emboss...</source>
        <translation>&amp;Emboss…</translation>
    </message>
    <message>
        <source>Mi&amp;nimum Rank Filter...</source>
        <translation>Mi&amp;nimum Rank Filter…</translation>
    </message>
    <message>
        <source>Me&amp;dian Rank Filter...</source>
        <translation>Me&amp;dian Rank Filter…</translation>
    </message>
    <message>
        <source>Ma&amp;ximum Rank Filter...</source>
        <translation>Ma&amp;ximum Rank Filter…</translation>
    </message>
    <message>
        <source>Votre &amp;logo</source>
        <translation>Your &amp;logo</translation>
    </message>
    <message>
        <source>Fenêtres &amp;Horizontales</source>
        <translation>Tile &amp;Horizontally</translation>
    </message>
    <message>
        <source>Fenêtres &amp;Verticales</source>
        <translation>Tile &amp;Vertically</translation>
    </message>
    <message>
        <source>En &amp;Cascade</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>&amp;Ranger les Icônes</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Edition</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Plus d&apos;E&amp;ffets</source>
        <translation>More E&amp;ffects</translation>
    </message>
    <message>
        <source>&amp;Softening Filters</source>
        <translation>&amp;Softening Filters</translation>
    </message>
    <message>
        <source>S&amp;harpening Filters</source>
        <translation>S&amp;harpening Filters</translation>
    </message>
    <message>
        <source>Filtres &amp;Spéciaux</source>
        <translation>Spe&amp;cial Filters</translation>
    </message>
    <message>
        <source>&amp;Couleurs</source>
        <translation>&amp;Colours</translation>
    </message>
    <message>
        <source>&amp;Paramètres</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Fe&amp;nêtre</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>?</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Largeur plus grande que la hauteur:<byte value="xd"/>
Lancer l&apos;impression en orientation Paysage ?</source>
        <translation>The width is greater than the height:<byte value="xd"/>
Print in landscape orientation?</translation>
    </message>
    <message>
        <source>Hauteur grande que la largeur:<byte value="xd"/>
Lancer l&apos;impression en orientation Portrait ?</source>
        <translation>The height is greater than the width:<byte value="xd"/>
Print in portrait orientation?</translation>
    </message>
    <message>
        <source>Aucune imprimante n&apos;est installée : la photo ne peut pas être imprimée.</source>
        <translation>No printer is installed: the photo cannot be printed.</translation>
    </message>
    <message>
        <source>L&apos;impression n&apos;a pas pu commencer : la photo n&apos;a pas été imprimée.</source>
        <translation>Printing could not start: the photo was not printed.</translation>
    </message>
    <message>
        <source>L&apos;impression a échoué : la photo n&apos;a pas été envoyée à l&apos;imprimante.</source>
        <translation>Printing failed: the photo was not sent to the printer.</translation>
    </message>
    <message>
        <source>Explorer</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>Ouvrir / Fermer l&apos;Exploreur</source>
        <translation>Show / Hide the browser</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Enregistrez votre travail</source>
        <translation>Save your work</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Annuler une action</source>
        <translation>Undo an action</translation>
    </message>
    <message>
        <source>Clair</source>
        <translation>Lighter</translation>
    </message>
    <message>
        <source>Lumière : Photo plus lumineuse</source>
        <translation>Light: brighter photo</translation>
    </message>
    <message>
        <source>Sombre</source>
        <translation>Darker</translation>
    </message>
    <message>
        <source>Lumière : Photo moins lumineuse</source>
        <translation>Light: darker photo</translation>
    </message>
    <message>
        <source>Saturation : Plus de couleur</source>
        <translation>Saturation: more colour</translation>
    </message>
    <message>
        <source>Saturation : Moins de couleur</source>
        <translation>Saturation: less colour</translation>
    </message>
    <message>
        <source>Nette</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>Netteté : Photo plus nette</source>
        <translation>Sharpness: sharper photo</translation>
    </message>
    <message>
        <source>Floue</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Netteté : Photo plus floue</source>
        <translation>Sharpness: softer photo</translation>
    </message>
    <message>
        <source>Pivoter à 90° vers la gauche</source>
        <translation>Rotate 90° to the left</translation>
    </message>
    <message>
        <source>Pivoter à 90° vers la droite</source>
        <translation>Rotate 90° to the right</translation>
    </message>
    <message>
        <source>Retailler au format Web</source>
        <translation>Resize for the Web</translation>
    </message>
    <message>
        <source>Insérer votre logo</source>
        <translation>Insert your logo</translation>
    </message>
    <message>
        <source>Remplacer un ciel blanc</source>
        <translation>Replace a white sky</translation>
    </message>
    <message>
        <source>Masquer une partie de la photo</source>
        <translation>Mask part of the photo</translation>
    </message>
    <message>
        <source>Retour</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Annuler: Retour à l&apos;éditeur d&apos;affiches sans importer mon travail</source>
        <translation>Cancel: back to the poster editor without importing my work</translation>
    </message>
    <message>
        <source>Importer</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Valider: Importer mon travail dans l&apos;éditeur d&apos;affiches</source>
        <translation>Confirm: import my work into the poster editor</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Fermer l&apos;application</source>
        <translation>Close the program</translation>
    </message>
    <message>
        <source>Noir et Blanc</source>
        <translation>Black and White</translation>
    </message>
    <message>
        <source>Autres commandes</source>
        <translation>More commands</translation>
    </message>
    <message>
        <source>I don&apos;t know how to put a DIB on the clipboard! Copy as bitmap instead!!!</source>
        <translation>I don&apos;t know how to put a DIB on the clipboard! Copy as bitmap instead!!!</translation>
    </message>
    <message>
        <source>le presse-papiers ne contient pas d&apos;image</source>
        <translation>the clipboard holds no picture</translation>
    </message>
</context>
</TS>
